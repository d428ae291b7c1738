// A small system on a PicoBlaze 6: the core, its program ROM, a UART and an
// interval timer on the ports below. The core is Korvo's model; to run the
// same system on KCPSM6 itself, rename korvo_kcpsm6 to kcpsm6 (nothing
// else changes).
//   port $00 in:  status, bit 0 transmitter busy, bit 1 byte received
//   port $01 out: send a byte; in: the byte received (clears bit 1)
//   port $02 out: timer period in steps of 16 clocks, 0 stops the timer;
//                 each period raises the interrupt until interrupt_ack
module uart_timer_system #(
    parameter rom_file = "uart_timer.hex",
    parameter integer clocks_per_bit = 8
) (
    input clk,
    input reset,
    input rx,
    output tx
);
  wire [11:0] address;
  reg [17:0] instruction;
  wire bram_enable;
  reg [7:0] in_port;
  wire [7:0] out_port;
  wire [7:0] port_id;
  wire write_strobe, k_write_strobe, read_strobe;
  wire interrupt, interrupt_ack;

  korvo_kcpsm6 cpu (
      .address(address),
      .instruction(instruction),
      .bram_enable(bram_enable),
      .in_port(in_port),
      .out_port(out_port),
      .port_id(port_id),
      .write_strobe(write_strobe),
      .k_write_strobe(k_write_strobe),
      .read_strobe(read_strobe),
      .interrupt(interrupt),
      .interrupt_ack(interrupt_ack),
      .sleep(1'b0),
      .reset(reset),
      .clk(clk)
  );

  // The program ROM: a block RAM read on the edge while bram_enable is high.
  reg [17:0] rom[0:1023];
  initial $readmemh(rom_file, rom);
  always @(posedge clk) if (bram_enable) instruction <= rom[address[9:0]];

  wire tx_busy, rx_ready;
  wire [7:0] rx_data;
  uart_tx #(
      .clocks_per_bit(clocks_per_bit)
  ) transmitter (
      .clk(clk),
      .reset(reset),
      .data(out_port),
      .send(write_strobe && port_id == 8'h01),
      .line(tx),
      .busy(tx_busy)
  );
  uart_rx #(
      .clocks_per_bit(clocks_per_bit)
  ) receiver (
      .clk(clk),
      .reset(reset),
      .line(rx),
      .take(read_strobe && port_id == 8'h01),
      .data(rx_data),
      .ready(rx_ready)
  );
  interval_timer timer (
      .clk(clk),
      .reset(reset),
      .period(out_port),
      .load(write_strobe && port_id == 8'h02),
      .ack(interrupt_ack),
      .request(interrupt)
  );

  always @(*)
    case (port_id)
      8'h00: in_port = {6'b0, rx_ready, tx_busy};
      8'h01: in_port = rx_data;
      default: in_port = 8'h00;
    endcase
endmodule
