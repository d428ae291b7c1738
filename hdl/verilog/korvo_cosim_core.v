// The pins of one Korvo core model: every rising edge of clk hands the
// input pins to libkorvo_cosim and drives the outputs with what the model
// shows after the edge; port_id and out_port also follow the instruction
// pins between edges, as they do in the core. korvo_kcpsm3 and korvo_kcpsm6
// wrap it with the ports of their cores.
`include "korvo_cosim.vh"
module korvo_cosim_core #(
    parameter integer core = 6,
    parameter integer hwbuild = 0,
    parameter integer interrupt_vector = 'h3FF,
    parameter integer scratch_pad_memory_size = 64,
    parameter program_file = "",
    parameter trace_file = ""
) (
    output reg [11:0] address,
    input [17:0] instruction,
    output reg bram_enable,
    input [7:0] in_port,
    output reg [7:0] out_port,
    output reg [7:0] port_id,
    output reg write_strobe,
    output reg k_write_strobe,
    output reg read_strobe,
    input interrupt,
    output reg interrupt_ack,
    input sleep,
    input reset,
    input clk
);
  integer handle;
  reg ready = 1'b0;
  reg tick = 1'b0;  // turns over on every edge the model is clocked on

  // The pins that change only on clock edges: address, interrupt_ack,
  // read_strobe, k_write_strobe, write_strobe and bram_enable.
  function [16:0] edge_pins(input integer id);
    integer pins, strobes;
    begin
      pins = `korvo_bus(id);
      strobes = `korvo_strobes(id);
      edge_pins = {pins[11:0], strobes[4:0]};
    end
  endfunction

  initial begin
    handle = `korvo_create(core, hwbuild, interrupt_vector, scratch_pad_memory_size);
    if (handle < 0) begin
      $display("korvo_kcpsm%0d: %0s", core, `korvo_last_error(-1));
      $finish;
    end
    if (program_file != "" && `korvo_load_program(handle, program_file) != 0) begin
      $display("korvo_kcpsm%0d: %0s", core, `korvo_last_error(handle));
      $finish;
    end
    if (trace_file != "" && `korvo_trace(handle, trace_file) != 0) begin
      $display("korvo_kcpsm%0d: %0s", core, `korvo_last_error(handle));
      $finish;
    end
    ready = 1'b1;
    {address, interrupt_ack, read_strobe, k_write_strobe, write_strobe, bram_enable} <=
        edge_pins(handle);
    tick <= 1'b1;
  end

  // The edge samples the inputs as they were before it.
  always @(posedge clk)
    if (ready) begin
      `korvo_clock(handle, {14'd0, instruction}, {24'd0, in_port}, {31'd0, interrupt},
                   {31'd0, sleep}, {31'd0, reset});
      `korvo_instruction(handle, {14'd0, instruction});
      {address, interrupt_ack, read_strobe, k_write_strobe, write_strobe, bram_enable} <=
          edge_pins(handle);
      tick <= ~tick;
    end

  // port_id and out_port follow the instruction pins at once, and the edges.
  always @(instruction or tick)
    if (ready) begin : follow
      integer pins;
      `korvo_instruction(handle, {14'd0, instruction});
      pins = `korvo_bus(handle);
      port_id = pins[19:12];
      out_port = pins[27:20];
    end
endmodule
