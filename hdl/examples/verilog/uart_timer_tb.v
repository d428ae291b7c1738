// Runs uart_timer_system with its transmitter wired to its receiver and the
// firmware firmware/uart_timer.psm: it sends "Korvo", echoes each byte it
// receives back to port $04, counts timer interrupts and ends with OUTK on
// constant port 1. Writes the core's port traffic to traffic_file, one line
// per strobe as `korvo sim --trace` shows it (R read, W write, K constant
// write: port and value, in hex), and "T n" for an interrupt acknowledged
// n clocks after reset was released; says PASS when the echo is right.
`timescale 1ns / 1ps
module uart_timer_tb;
  parameter rom_file = "uart_timer.hex";
  parameter traffic_file = "traffic.txt";
  parameter integer max_clocks = 200000;

  reg clk = 1'b0;
  reg reset = 1'b1;
  wire line;
  uart_timer_system #(
      .rom_file(rom_file)
  ) system (
      .clk(clk),
      .reset(reset),
      .rx(line),
      .tx(line)
  );

  always #5 clk = ~clk;

  integer fd;
  integer clocks = 0;
  integer ticks = 0;
  reg [39:0] echo = 40'h0;

  initial begin
    fd = $fopen(traffic_file, "w");
    repeat (4) @(posedge clk);
    reset <= 1'b0;
  end

  always @(posedge clk)
    if (!reset) begin
      clocks <= clocks + 1;
      if (system.read_strobe) $fwrite(fd, "R %h %h\n", system.port_id, system.in_port);
      if (system.write_strobe) begin
        $fwrite(fd, "W %h %h\n", system.port_id, system.out_port);
        if (system.port_id == 8'h04) echo <= {echo[31:0], system.out_port};
      end
      if (system.k_write_strobe) $fwrite(fd, "K 0%h %h\n", system.port_id[3:0], system.out_port);
      if (system.interrupt_ack) begin
        $fwrite(fd, "T %0d\n", clocks);
        ticks <= ticks + 1;
      end
      if (system.k_write_strobe && system.port_id[3:0] == 4'h1) begin
        $fclose(fd);
        if (echo == "Korvo" && ticks > 0)
          $display("uart_timer_tb: PASS, echoed Korvo, %0d timer interrupts, %0d clocks", ticks,
                   clocks);
        else $display("uart_timer_tb: FAIL, echoed \"%s\", %0d timer interrupts", echo, ticks);
        $finish;
      end
      if (clocks == max_clocks) begin
        $display("uart_timer_tb: FAIL, no end after %0d clocks", clocks);
        $finish;
      end
    end
endmodule
