-- An interval timer: load sets the period in steps of 16 clocks (0 stops
-- it); at the end of each period request rises and stays up until ack.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity interval_timer is
  port (clk, reset : in std_logic;
        period : in std_logic_vector(7 downto 0);
        load : in std_logic;
        ack : in std_logic;
        request : out std_logic);
end entity;

architecture rtl of interval_timer is
  signal steps : unsigned(7 downto 0);
  signal count : unsigned(11 downto 0);
begin
  process (clk)
  begin
    if rising_edge(clk) then
      if reset = '1' then
        steps <= (others => '0');
        count <= (others => '0');
        request <= '0';
      else
        if ack = '1' then
          request <= '0';
        end if;
        if load = '1' then
          steps <= unsigned(period);
          count <= unsigned(period) & "0000";
        elsif steps /= 0 then
          if count = 1 then
            request <= '1';
            count <= steps & "0000";
          else
            count <= count - 1;
          end if;
        end if;
      end if;
    end if;
  end process;
end architecture;
