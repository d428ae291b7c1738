// Korvo's PicoBlaze 6 core with the parameters and ports of KCPSM6: rename
// the instance's module and the testbench runs on the model at C speed. The
// model fetches its instructions from the design's program ROM through
// address/instruction like the core; program_file (.psm, .hex or words file)
// makes it run that program instead and ignore the instruction pins;
// trace_file writes the trace of `korvo sim --trace`.
// Icarus: iverilog -L BUILD/src -m korvo_cosim -I hdl/verilog ... hdl/verilog/*.v,
// then vvp -M BUILD/src; with Verilator add hdl/verilog/*.v and
// BUILD/src/libkorvo_cosim.so (see hdl/examples/run_*.sh).
module korvo_kcpsm6 #(
    parameter [7:0] hwbuild = 8'h00,
    parameter [11:0] interrupt_vector = 12'h3FF,
    parameter integer scratch_pad_memory_size = 64,
    parameter program_file = "",
    parameter trace_file = ""
) (
    output [11:0] address,
    input [17:0] instruction,
    output bram_enable,
    input [7:0] in_port,
    output [7:0] out_port,
    output [7:0] port_id,
    output write_strobe,
    output k_write_strobe,
    output read_strobe,
    input interrupt,
    output interrupt_ack,
    input sleep,
    input reset,
    input clk
);
  korvo_cosim_core #(
      .core(6),
      .hwbuild({24'd0, hwbuild}),
      .interrupt_vector({20'd0, interrupt_vector}),
      .scratch_pad_memory_size(scratch_pad_memory_size),
      .program_file(program_file),
      .trace_file(trace_file)
  ) model (
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
      .sleep(sleep),
      .reset(reset),
      .clk(clk)
  );
endmodule
