-- A UART transmitter: 8 data bits, no parity, one stop bit, least
-- significant bit first. send starts a byte when the transmitter is idle;
-- busy stays high until its stop bit has ended.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity uart_tx is
  generic (clocks_per_bit : positive := 8);
  port (clk, reset : in std_logic;
        data : in std_logic_vector(7 downto 0);
        send : in std_logic;
        line : out std_logic;
        busy : out std_logic);
end entity;

architecture rtl of uart_tx is
  signal shift : std_logic_vector(8 downto 0);  -- what follows the bit on the line
  signal bits_left : integer range 0 to 10;
  signal count : integer range 0 to clocks_per_bit - 1;
begin
  busy <= '0' when bits_left = 0 else '1';
  process (clk)
  begin
    if rising_edge(clk) then
      if reset = '1' then
        line <= '1';
        bits_left <= 0;
        count <= 0;
        shift <= (others => '1');
      elsif bits_left = 0 then
        if send = '1' then
          line <= '0';                  -- start bit
          shift <= '1' & data;
          bits_left <= 10;
          count <= clocks_per_bit - 1;
        end if;
      elsif count /= 0 then
        count <= count - 1;
      else
        line <= shift(0);
        shift <= '1' & shift(8 downto 1);
        bits_left <= bits_left - 1;
        count <= clocks_per_bit - 1;
      end if;
    end if;
  end process;
end architecture;
