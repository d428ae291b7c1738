// An interval timer: load sets the period in steps of 16 clocks (0 stops
// it); at the end of each period request rises and stays up until ack.
module interval_timer (
    input clk,
    input reset,
    input [7:0] period,
    input load,
    input ack,
    output reg request
);
  reg [7:0] steps;
  reg [11:0] count;

  always @(posedge clk)
    if (reset) begin
      steps <= 0;
      count <= 0;
      request <= 1'b0;
    end else begin
      if (ack) request <= 1'b0;
      if (load) begin
        steps <= period;
        count <= {period, 4'h0};
      end else if (steps != 0) begin
        if (count == 1) begin
          request <= 1'b1;
          count <= {steps, 4'h0};
        end else count <= count - 1;
      end
    end
endmodule
