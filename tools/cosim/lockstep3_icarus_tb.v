// Runs the vendor's gate-level KCPSM3 (kcpsm3.v, fetched for local use only)
// on a program with korvo_kcpsm3_lockstep watching its pins: every output
// pin of the core is compared with Korvo's model just before every rising
// clock edge. Run through lockstep3_icarus.sh.
//   +rom=FILE    the program: 1024 lines of 5 hex digits
//   +clocks=N    clocks to run after the first reset (default 40000)
//   +irq_gap=G   raises the interrupt 1 to G clocks (pseudo-random) after
//                the previous acknowledge, held until interrupt_ack (0: never)
//   +seed=S      the start of the pseudo-random sequence
//   +reset_at=C  resets the core again for 3 clocks at clock C
// Ports: a 256-byte memory, 0 at the start; OUTPUT writes port_id, INPUT
// reads it. Prints the clocks compared and the differences (it stops at the
// first).
`timescale 1ps / 1ps
module lockstep3_icarus_tb;
  reg clk = 1'b0;
  reg reset = 1'b1;
  reg irq = 1'b0;
  reg [17:0] instruction = 18'h00000;
  wire [9:0] address;
  wire [7:0] port_id, out_port;
  wire write_strobe, read_strobe, interrupt_ack;
  reg [7:0] ports[0:255];
  reg [17:0] rom[0:1023];
  wire [7:0] in_port = ports[port_id];

  kcpsm3 core (
      .address(address),
      .instruction(instruction),
      .port_id(port_id),
      .write_strobe(write_strobe),
      .out_port(out_port),
      .read_strobe(read_strobe),
      .in_port(in_port),
      .interrupt(irq),
      .interrupt_ack(interrupt_ack),
      .reset(reset),
      .clk(clk)
  );
  korvo_kcpsm3_lockstep check (
      .address(address),
      .instruction(instruction),
      .port_id(port_id),
      .write_strobe(write_strobe),
      .out_port(out_port),
      .read_strobe(read_strobe),
      .in_port(in_port),
      .interrupt(irq),
      .interrupt_ack(interrupt_ack),
      .reset(reset),
      .clk(clk)
  );

  always #10000 clk = ~clk;
  always @(posedge clk) instruction <= rom[address];

  integer i, limit, gap, seed, reset_at, clock, wait_left, interrupts;
  reg [8*256-1:0] rom_name;

  initial begin
    if (!$value$plusargs("rom=%s", rom_name)) begin
      $display("lockstep3_icarus_tb: +rom=FILE missing");
      $finish;
    end
    if (!$value$plusargs("clocks=%d", limit)) limit = 40000;
    if (!$value$plusargs("irq_gap=%d", gap)) gap = 0;
    if (!$value$plusargs("seed=%d", seed)) seed = 1;
    if (!$value$plusargs("reset_at=%d", reset_at)) reset_at = -1;
    for (i = 0; i < 1024; i = i + 1) rom[i] = 18'h00000;
    $readmemh(rom_name, rom);
    for (i = 0; i < 256; i = i + 1) ports[i] = 8'h00;
    clock = 0;
    interrupts = 0;
    wait_left = gap > 0 ? 1 + {$random(seed)} % gap : -1;
  end

  always @(posedge clk) begin
    clock <= clock + 1;
    reset <= clock < 12 || (reset_at >= 0 && clock >= reset_at && clock < reset_at + 3);
    if (write_strobe) ports[port_id] <= out_port;
    if (interrupt_ack) begin
      irq <= 1'b0;
      interrupts = interrupts + 1;
      wait_left = gap > 0 ? 1 + {$random(seed)} % gap : -1;
    end else if (!irq && wait_left > 0) begin
      wait_left = wait_left - 1;
      if (wait_left == 0) irq <= 1'b1;
    end
  end
  always @(negedge clk)
    if (clock == limit + 12) begin
      $display("lockstep3_icarus_tb: %0d clocks compared, %0d differences, %0d interrupts taken",
               check.check.clocks, check.check.differences, interrupts);
      $finish;
    end
endmodule
