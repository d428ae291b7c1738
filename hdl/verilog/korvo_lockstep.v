// The lockstep checker: watches the pins of a real core in a design, runs
// Korvo's model of it on the same inputs (the instruction, in_port,
// interrupt, sleep and reset the core gets) and compares every output pin
// with the model's just before each rising edge of clk. At the first
// difference it reports the time, the clock, the instructions completed, the
// model's program counter and every pin expected and seen, and ends the
// simulation ($finish) unless stop is 0. Instantiate korvo_kcpsm3_lockstep
// or korvo_kcpsm6_lockstep beside the core and connect each of their ports
// to the core's port of the same name. clocks and differences count what was
// compared.
`include "korvo_cosim.vh"
module korvo_lockstep #(
    parameter integer core = 6,
    parameter integer hwbuild = 0,
    parameter integer interrupt_vector = 'h3FF,
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
  wire [11:0] model_address;
  wire model_bram_enable, model_write_strobe, model_k_write_strobe, model_read_strobe;
  wire model_interrupt_ack;
  wire [7:0] model_out_port, model_port_id;
  korvo_cosim_core #(
      .core(core),
      .hwbuild(hwbuild),
      .interrupt_vector(interrupt_vector),
      .scratch_pad_memory_size(scratch_pad_memory_size)
  ) model (
      .address(model_address),
      .instruction(instruction),
      .bram_enable(model_bram_enable),
      .in_port(in_port),
      .out_port(model_out_port),
      .port_id(model_port_id),
      .write_strobe(model_write_strobe),
      .k_write_strobe(model_k_write_strobe),
      .read_strobe(model_read_strobe),
      .interrupt(interrupt),
      .interrupt_ack(model_interrupt_ack),
      .sleep(sleep),
      .reset(reset),
      .clk(clk)
  );

  // The pins in one vector: address, port_id, out_port, then bram_enable,
  // write_strobe, k_write_strobe, read_strobe and interrupt_ack. KCPSM3 has
  // a 10-bit address and no bram_enable or k_write_strobe.
  wire [32:0] used = core == 3 ? 33'h0_7FFF_FFEB : 33'h1_FFFF_FFFF;
  wire [32:0] expected = {model_address, model_port_id, model_out_port, model_bram_enable,
                          model_write_strobe, model_k_write_strobe, model_read_strobe,
                          model_interrupt_ack};
  wire [32:0] seen = {address, port_id, out_port, bram_enable, write_strobe, k_write_strobe,
                      read_strobe, interrupt_ack};
  integer clocks = 0;
  integer differences = 0;
  integer instructions;
  reg [11:0] pc;

  always @(posedge clk)
    if (model.ready) begin
      if (((expected ^ seen) & used) !== 33'h0) begin
        differences = differences + 1;
        instructions = `korvo_instructions_low(model.handle);
        pc = `korvo_pc(model.handle);
        $display("korvo_lockstep: difference at %0t, clock %0d, after %0d instructions, PC %h",
                 $time, clocks, instructions, pc);
        $display("  pin             expected  seen");
        $display("  address         %h       %h", model_address, address);
        $display("  port_id         %h        %h", model_port_id, port_id);
        $display("  out_port        %h        %h", model_out_port, out_port);
        if (core != 3) $display("  bram_enable     %b         %b", model_bram_enable, bram_enable);
        $display("  write_strobe    %b         %b", model_write_strobe, write_strobe);
        if (core != 3)
          $display("  k_write_strobe  %b         %b", model_k_write_strobe, k_write_strobe);
        $display("  read_strobe     %b         %b", model_read_strobe, read_strobe);
        $display("  interrupt_ack   %b         %b", model_interrupt_ack, interrupt_ack);
        if (stop != 0) $finish;
      end
      clocks = clocks + 1;
    end
endmodule
