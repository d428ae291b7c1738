-- The program ROM of the examples: a block RAM read on the rising edge while
-- enable is high, filled from a words file (one 18-bit word in hex a line,
-- as `korvo asm --words` writes it).
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use std.textio.all;

entity program_rom is
  generic (rom_file : string);
  port (clk : in std_logic;
        enable : in std_logic;
        address : in std_logic_vector(9 downto 0);
        instruction : out std_logic_vector(17 downto 0));
end entity;

architecture rtl of program_rom is
  type words is array (0 to 1023) of std_logic_vector(17 downto 0);
  impure function load return words is
    file f : text open read_mode is rom_file;
    variable l : line;
    variable w : words := (others => (others => '0'));
    variable c : character;
    variable v, digit : integer;
    variable i : integer := 0;
  begin
    while not endfile(f) and i < words'length loop
      readline(f, l);
      v := 0;
      for k in 1 to l'length loop
        c := l(k);
        case c is
          when '0' to '9' => digit := character'pos(c) - character'pos('0');
          when 'A' to 'F' => digit := character'pos(c) - character'pos('A') + 10;
          when 'a' to 'f' => digit := character'pos(c) - character'pos('a') + 10;
          when others => digit := -1;
        end case;
        if digit >= 0 then
          v := v * 16 + digit;
        end if;
      end loop;
      if l'length > 0 then
        w(i) := std_logic_vector(to_unsigned(v mod 2 ** 18, 18));
        i := i + 1;
      end if;
    end loop;
    return w;
  end function;
  constant rom : words := load;
begin
  process (clk)
  begin
    if rising_edge(clk) and enable = '1' then
      instruction <= rom(to_integer(unsigned(address)));
    end if;
  end process;
end architecture;
