// The speed loop on a PicoBlaze 3 under Icarus: korvo_kcpsm3 and its program
// ROM, run for +n=N instructions (two clocks each). bench/cosim_speed.sh
// also runs it with the instance renamed to kcpsm3.
`timescale 1ns / 1ps
module speed3_tb;
  reg clk = 1'b0;
  reg reset = 1'b1;
  reg [17:0] instruction = 18'h00000;
  reg [17:0] rom[0:1023];
  wire [9:0] address;
  wire [7:0] port_id, out_port;
  wire write_strobe, read_strobe, interrupt_ack;
  reg [8*256-1:0] rom_name;
  integer n, clocks = 0;

  korvo_kcpsm3 cpu (
      .address(address),
      .instruction(instruction),
      .port_id(port_id),
      .write_strobe(write_strobe),
      .out_port(out_port),
      .read_strobe(read_strobe),
      .in_port(8'h00),
      .interrupt(1'b0),
      .interrupt_ack(interrupt_ack),
      .reset(reset),
      .clk(clk)
  );

  initial begin
    if (!$value$plusargs("rom=%s", rom_name) || !$value$plusargs("n=%d", n)) begin
      $display("speed3_tb: +rom=FILE and +n=N needed");
      $finish;
    end
    $readmemh(rom_name, rom);
  end

  always #5 clk = ~clk;
  always @(posedge clk) begin
    instruction <= rom[address];
    clocks <= clocks + 1;
    if (clocks == 4) reset <= 1'b0;
    if (clocks == 4 + 2 * n) begin
      $display("speed3_tb: %0d clocks", clocks);
      $finish;
    end
  end
endmodule
