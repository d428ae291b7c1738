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
  integer pins;
  integer strobes;
  reg ready = 1'b0;

  task show;
    begin
      pins = `korvo_bus(handle);
      strobes = `korvo_strobes(handle);
      address <= pins[11:0];
      port_id <= pins[19:12];
      out_port <= pins[27:20];
      bram_enable <= strobes[0];
      write_strobe <= strobes[1];
      k_write_strobe <= strobes[2];
      read_strobe <= strobes[3];
      interrupt_ack <= strobes[4];
    end
  endtask

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
    `korvo_instruction(handle, {14'd0, instruction});
    show;
    ready = 1'b1;
  end

  always @(posedge clk)
    if (ready) begin
      `korvo_clock(handle, {14'd0, instruction}, {24'd0, in_port}, {31'd0, interrupt},
                   {31'd0, sleep}, {31'd0, reset});
      `korvo_instruction(handle, {14'd0, instruction});
      show;
    end

  always @(instruction)
    if (ready) begin
      `korvo_instruction(handle, {14'd0, instruction});
      show;
    end
endmodule
