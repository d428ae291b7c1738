// The lockstep checker for a KCPSM3 instance: connect each of its ports to
// the core's port of the same name (see korvo_lockstep.v).
module korvo_kcpsm3_lockstep #(
    parameter integer stop = 1
) (
    input [9:0] address,
    input [17:0] instruction,
    input [7:0] port_id,
    input write_strobe,
    input [7:0] out_port,
    input read_strobe,
    input [7:0] in_port,
    input interrupt,
    input interrupt_ack,
    input reset,
    input clk
);
  korvo_lockstep #(
      .core(3),
      .stop(stop)
  ) check (
      .address({2'b00, address}),
      .instruction(instruction),
      .bram_enable(1'b0),
      .in_port(in_port),
      .out_port(out_port),
      .port_id(port_id),
      .write_strobe(write_strobe),
      .k_write_strobe(1'b0),
      .read_strobe(read_strobe),
      .interrupt(interrupt),
      .interrupt_ack(interrupt_ack),
      .sleep(1'b0),
      .reset(reset),
      .clk(clk)
  );
endmodule
