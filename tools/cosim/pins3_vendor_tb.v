// The vendor's KCPSM3 (kcpsm3.v with its primitives, local copies that never
// enter this tree) under Icarus, for pins3_compare.sh: the same stimulus as
// pins3_model_tb.vhd, and one line per clock with every output pin after the
// rising edge. +rom=FILE (1024 words), +stim=FILE (one line of two bits per
// clock: reset, interrupt rises; the line falls on interrupt_ack),
// +cycles=N, +out=FILE. in_port is a port memory written on write_strobe plus
// the clock count.
`timescale 1ns/1ps
module pins3_vendor_tb;
  reg clk = 1'b0, reset = 1'b1, interrupt = 1'b0;
  reg [17:0] rom [0:1023];
  reg [17:0] instruction = 18'h0;
  reg [1:0] stim [0:999999];
  reg [7:0] ports [0:255];
  reg [7:0] cycle = 8'h0;
  wire [9:0] address;
  wire [7:0] port_id, out_port;
  wire write_strobe, read_strobe, interrupt_ack;
  wire [7:0] in_port = ports[port_id] + cycle;
  kcpsm3 core (.address(address), .instruction(instruction), .port_id(port_id), .write_strobe(write_strobe),
               .out_port(out_port), .read_strobe(read_strobe), .in_port(in_port), .interrupt(interrupt),
               .interrupt_ack(interrupt_ack), .reset(reset), .clk(clk));
  always @(posedge clk) begin
    instruction <= rom[address];
    if (write_strobe) ports[port_id] <= out_port;
    cycle <= cycle + 8'h1;
  end
  integer n, cycles, f;
  reg [8*1024-1:0] romfile, stimfile, outfile;
  initial begin
    for (n = 0; n < 256; n = n + 1) ports[n] = 8'h0;
    if (!$value$plusargs("rom=%s", romfile) || !$value$plusargs("stim=%s", stimfile) ||
        !$value$plusargs("cycles=%d", cycles) || !$value$plusargs("out=%s", outfile)) begin
      $display("usage: +rom=FILE +stim=FILE +cycles=N +out=FILE"); $finish;
    end
    $readmemh(romfile, rom);
    $readmemb(stimfile, stim);
    f = $fopen(outfile, "w");
    for (n = 0; n < cycles; n = n + 1) begin
      reset = stim[n][1];
      if (stim[n][0]) interrupt = 1'b1; else if (interrupt_ack) interrupt = 1'b0;
      clk = 1'b0; #5; clk = 1'b1; #2;
      $fwrite(f, "%0d %h %h %h %b %b %b\n", n, address, port_id, out_port, write_strobe, read_strobe, interrupt_ack);
      #3;
    end
    $fclose(f);
    $finish;
  end
endmodule
