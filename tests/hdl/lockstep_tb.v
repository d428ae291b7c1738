// korvo_kcpsm6_lockstep watching a korvo_kcpsm6 whose pins pass through a
// fault: just before edge +fault_clock=C (counted from 0, as the checker
// counts) the pins of +fault_mask=M (hex) are inverted. The program runs
// from +rom=FILE with a port memory and an interrupt every 97 clocks, held
// until acknowledged; the run ends after 4000 clocks with the checker's
// counts.
// Pin vector, high to low: address (12), port_id, out_port, bram_enable,
// write_strobe, k_write_strobe, read_strobe, interrupt_ack.
`timescale 1ns / 1ps
module lockstep_tb;
  localparam integer clocks = 4000;
  integer fault_clock = -1;
  reg [32:0] fault_mask = 33'h0;
  reg [8*256-1:0] rom_file;

  reg clk = 1'b0;
  reg reset = 1'b1;
  reg irq = 1'b0;
  reg [17:0] instruction = 18'h0;
  reg [17:0] rom[0:4095];
  reg [7:0] ports[0:255];
  wire [11:0] address;
  wire [7:0] port_id, out_port;
  wire bram_enable, write_strobe, k_write_strobe, read_strobe, interrupt_ack;
  integer clock = 0, i;

  korvo_kcpsm6 core (
      .address(address),
      .instruction(instruction),
      .bram_enable(bram_enable),
      .in_port(ports[port_id]),
      .out_port(out_port),
      .port_id(port_id),
      .write_strobe(write_strobe),
      .k_write_strobe(k_write_strobe),
      .read_strobe(read_strobe),
      .interrupt(irq),
      .interrupt_ack(interrupt_ack),
      .sleep(1'b0),
      .reset(reset),
      .clk(clk)
  );

  wire [32:0] fault = clock == fault_clock ? fault_mask : 33'h0;
  wire [32:0] pins = {address, port_id, out_port, bram_enable, write_strobe, k_write_strobe,
                      read_strobe, interrupt_ack} ^ fault;
  korvo_kcpsm6_lockstep check (
      .address(pins[32:21]),
      .instruction(instruction),
      .bram_enable(pins[4]),
      .in_port(ports[port_id]),
      .out_port(pins[12:5]),
      .port_id(pins[20:13]),
      .write_strobe(pins[3]),
      .k_write_strobe(pins[2]),
      .read_strobe(pins[1]),
      .interrupt(irq),
      .interrupt_ack(pins[0]),
      .sleep(1'b0),
      .reset(reset),
      .clk(clk)
  );

  initial begin
    for (i = 0; i < 4096; i = i + 1) rom[i] = 18'h0;
    for (i = 0; i < 256; i = i + 1) ports[i] = 8'h0;
    if (!$value$plusargs("rom=%s", rom_file)) begin
      $display("lockstep_tb: +rom=FILE missing");
      $finish;
    end
    $readmemh(rom_file, rom);
    if (!$value$plusargs("fault_clock=%d", fault_clock)) fault_clock = -1;
    if (!$value$plusargs("fault_mask=%h", fault_mask)) fault_mask = 33'h0;
  end

  always #5 clk = ~clk;
  // The fault changes with clock, after the edge the checker compares on.
  always @(posedge clk) begin
    clock <= clock + 1;
    if (bram_enable) instruction <= rom[address];
    if (write_strobe) ports[port_id] <= out_port;
    if (clock == 3) reset <= 1'b0;
    if (interrupt_ack) irq <= 1'b0;
    else if (clock % 97 == 96) irq <= 1'b1;
  end
  always @(negedge clk)
    if (clock == clocks) begin
      $display("lockstep_tb: %0d clocks compared, %0d differences", check.check.clocks,
               check.check.differences);
      $finish;
    end
endmodule
