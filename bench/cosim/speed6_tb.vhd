-- The speed loop on a PicoBlaze 6 under GHDL: korvo_kcpsm6 and its program
-- ROM (hdl/examples/vhdl/program_rom.vhd), run for n instructions (two
-- clocks each). bench/cosim_speed.sh also runs it with the instance renamed
-- to kcpsm6.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity speed6_tb is
  generic (rom_file : string; n : positive);
end entity;

architecture bench of speed6_tb is
  signal clk : std_logic := '0';
  signal reset : std_logic := '1';
  signal done : boolean := false;
  signal address : std_logic_vector(11 downto 0);
  signal instruction : std_logic_vector(17 downto 0) := (others => '0');
  signal bram_enable, write_strobe, k_write_strobe, read_strobe, interrupt_ack : std_logic;
  signal port_id, out_port : std_logic_vector(7 downto 0);
begin
  cpu : entity work.korvo_kcpsm6
    port map (address => address, instruction => instruction, bram_enable => bram_enable,
              in_port => X"00", out_port => out_port, port_id => port_id,
              write_strobe => write_strobe, k_write_strobe => k_write_strobe,
              read_strobe => read_strobe, interrupt => '0', interrupt_ack => interrupt_ack,
              sleep => '0', reset => reset, clk => clk);

  rom : entity work.program_rom
    generic map (rom_file => rom_file)
    port map (clk => clk, enable => bram_enable, address => address(9 downto 0),
              instruction => instruction);

  clk <= not clk after 5 ns when not done;

  process (clk)
    variable clocks : natural := 0;
  begin
    if rising_edge(clk) then
      clocks := clocks + 1;
      if clocks = 4 then
        reset <= '0';
      end if;
      if clocks = 4 + 2 * n then
        report "speed6_tb: " & integer'image(clocks) & " clocks";
        done <= true;
      end if;
    end if;
  end process;
end architecture;
