// A UART receiver for the frames of uart_tx: samples each bit in its
// middle; a byte whose stop bit is high is kept in data and raises ready,
// which stays up until take.
module uart_rx #(
    parameter integer clocks_per_bit = 8
) (
    input clk,
    input reset,
    input line,
    input take,
    output reg [7:0] data,
    output reg ready
);
  reg receiving;
  reg [3:0] bit_index;  // 0 start bit, 1..8 data bits, 9 stop bit
  reg [15:0] count;
  reg [7:0] shift;

  always @(posedge clk)
    if (reset) begin
      receiving <= 1'b0;
      ready <= 1'b0;
      data <= 8'h00;
      bit_index <= 0;
      count <= 0;
      shift <= 8'h00;
    end else begin
      if (take) ready <= 1'b0;
      if (!receiving) begin
        if (!line) begin
          receiving <= 1'b1;
          bit_index <= 0;
          count <= clocks_per_bit / 2 - 1;
        end
      end else if (count != 0) count <= count - 1;
      else begin
        count <= clocks_per_bit - 1;
        if (bit_index == 0) begin
          if (line) receiving <= 1'b0;  // a glitch, not a start bit
          else bit_index <= 1;
        end else if (bit_index <= 8) begin
          shift <= {line, shift[7:1]};
          bit_index <= bit_index + 1;
        end else begin
          receiving <= 1'b0;
          if (line) begin
            data <= shift;
            ready <= 1'b1;
          end
        end
      end
    end
endmodule
