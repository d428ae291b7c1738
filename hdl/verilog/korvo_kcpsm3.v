// Korvo's PicoBlaze 3 core with the ports of KCPSM3: rename the instance's
// module and the testbench runs on the model at C speed. The model fetches
// its instructions from the design's program ROM through address/instruction
// like the core; program_file (.psm, .hex or words file) makes it run that
// program instead; trace_file writes the trace of `korvo sim --trace`.
// How to build with Icarus and Verilator: see korvo_kcpsm6.v.
module korvo_kcpsm3 #(
    parameter program_file = "",
    parameter trace_file = ""
) (
    output [9:0] address,
    input [17:0] instruction,
    output [7:0] port_id,
    output write_strobe,
    output [7:0] out_port,
    output read_strobe,
    input [7:0] in_port,
    input interrupt,
    output interrupt_ack,
    input reset,
    input clk
);
  wire [11:0] full_address;
  wire unused_bram_enable, unused_k_write_strobe;
  assign address = full_address[9:0];
  korvo_cosim_core #(
      .core(3),
      .program_file(program_file),
      .trace_file(trace_file)
  ) model (
      .address(full_address),
      .instruction(instruction),
      .bram_enable(unused_bram_enable),
      .in_port(in_port),
      .out_port(out_port),
      .port_id(port_id),
      .write_strobe(write_strobe),
      .k_write_strobe(unused_k_write_strobe),
      .read_strobe(read_strobe),
      .interrupt(interrupt),
      .interrupt_ack(interrupt_ack),
      .sleep(1'b0),
      .reset(reset),
      .clk(clk)
  );
endmodule
