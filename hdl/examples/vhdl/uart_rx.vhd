-- A UART receiver for the frames of uart_tx: samples each bit in its
-- middle; a byte whose stop bit is high is kept in data and raises ready,
-- which stays up until take.
library ieee;
use ieee.std_logic_1164.all;

entity uart_rx is
  generic (clocks_per_bit : positive := 8);
  port (clk, reset : in std_logic;
        line : in std_logic;
        take : in std_logic;
        data : out std_logic_vector(7 downto 0);
        ready : out std_logic);
end entity;

architecture rtl of uart_rx is
  signal receiving : boolean;
  signal bit_index : integer range 0 to 9;  -- 0 start bit, 1..8 data bits, 9 stop bit
  signal count : integer range 0 to clocks_per_bit - 1;
  signal shift : std_logic_vector(7 downto 0);
begin
  process (clk)
  begin
    if rising_edge(clk) then
      if reset = '1' then
        receiving <= false;
        ready <= '0';
        data <= (others => '0');
        bit_index <= 0;
        count <= 0;
        shift <= (others => '0');
      else
        if take = '1' then
          ready <= '0';
        end if;
        if not receiving then
          if line = '0' then
            receiving <= true;
            bit_index <= 0;
            count <= clocks_per_bit / 2 - 1;
          end if;
        elsif count /= 0 then
          count <= count - 1;
        else
          count <= clocks_per_bit - 1;
          if bit_index = 0 then
            if line = '1' then
              receiving <= false;       -- a glitch, not a start bit
            else
              bit_index <= 1;
            end if;
          elsif bit_index <= 8 then
            shift <= line & shift(7 downto 1);
            bit_index <= bit_index + 1;
          else
            receiving <= false;
            if line = '1' then
              data <= shift;
              ready <= '1';
            end if;
          end if;
        end if;
      end if;
    end if;
  end process;
end architecture;
