// A UART transmitter: 8 data bits, no parity, one stop bit, least
// significant bit first. send starts a byte when the transmitter is idle;
// busy stays high until its stop bit has ended.
module uart_tx #(
    parameter integer clocks_per_bit = 8
) (
    input clk,
    input reset,
    input [7:0] data,
    input send,
    output reg line,
    output busy
);
  reg [8:0] shift;  // what follows the bit on the line, stop bit last
  reg [3:0] bits_left;
  reg [15:0] count;
  assign busy = bits_left != 0;

  always @(posedge clk)
    if (reset) begin
      line <= 1'b1;
      bits_left <= 0;
      count <= 0;
      shift <= 9'h1FF;
    end else if (bits_left == 0) begin
      if (send) begin
        line <= 1'b0;  // start bit
        shift <= {1'b1, data};
        bits_left <= 10;
        count <= clocks_per_bit - 1;
      end
    end else if (count != 0) count <= count - 1;
    else begin
      line <= shift[0];
      shift <= {1'b1, shift[8:1]};
      bits_left <= bits_left - 1;
      count <= clocks_per_bit - 1;
    end
endmodule
