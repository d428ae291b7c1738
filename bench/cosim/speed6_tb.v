// The speed loop on a PicoBlaze 6 under Icarus and Verilator: korvo_kcpsm6
// and its program ROM, run for +n=N instructions (two clocks each) of the
// program +rom=FILE.
`timescale 1ns / 1ps
module speed6_tb;
  reg clk = 1'b0;
  reg reset = 1'b1;
  reg [17:0] instruction = 18'h00000;
  reg [17:0] rom[0:1023];
  wire [11:0] address;
  wire [7:0] port_id, out_port;
  wire bram_enable, write_strobe, k_write_strobe, read_strobe, interrupt_ack;
  reg [8*256-1:0] rom_name;
  integer n, clocks = 0;

  korvo_kcpsm6 cpu (
      .address(address),
      .instruction(instruction),
      .bram_enable(bram_enable),
      .in_port(8'h00),
      .out_port(out_port),
      .port_id(port_id),
      .write_strobe(write_strobe),
      .k_write_strobe(k_write_strobe),
      .read_strobe(read_strobe),
      .interrupt(1'b0),
      .interrupt_ack(interrupt_ack),
      .sleep(1'b0),
      .reset(reset),
      .clk(clk)
  );

  initial begin
    if (!$value$plusargs("rom=%s", rom_name) || !$value$plusargs("n=%d", n)) begin
      $display("speed6_tb: +rom=FILE and +n=N needed");
      $finish;
    end
    $readmemh(rom_name, rom);
  end
  always #5 clk = ~clk;
  always @(posedge clk) begin
    if (bram_enable) instruction <= rom[address[9:0]];
    clocks <= clocks + 1;
    if (clocks == 4) reset <= 1'b0;
    if (clocks == 4 + 2 * n) begin
      $display("speed6_tb: %0d clocks", clocks);
      $finish;
    end
  end
endmodule
