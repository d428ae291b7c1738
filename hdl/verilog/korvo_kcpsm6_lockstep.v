// The lockstep checker for a KCPSM6 instance: give it the core's parameters
// and connect each of its ports to the core's port of the same name (see
// korvo_lockstep.v).
module korvo_kcpsm6_lockstep #(
    parameter [7:0] hwbuild = 8'h00,
    parameter [11:0] interrupt_vector = 12'h3FF,
    parameter integer scratch_pad_memory_size = 64,
    parameter integer stop = 1
) (
    input [11:0] address,
    input [17:0] instruction,
    input bram_enable,
    input [7:0] in_port,
    input [7:0] out_port,
    input [7:0] port_id,
    input write_strobe,
    input k_write_strobe,
    input read_strobe,
    input interrupt,
    input interrupt_ack,
    input sleep,
    input reset,
    input clk
);
  korvo_lockstep #(
      .core(6),
      .hwbuild({24'd0, hwbuild}),
      .interrupt_vector({20'd0, interrupt_vector}),
      .scratch_pad_memory_size(scratch_pad_memory_size),
      .stop(stop)
  ) check (
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
