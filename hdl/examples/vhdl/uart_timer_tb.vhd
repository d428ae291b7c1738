-- Runs uart_timer_system with its transmitter wired to its receiver and the
-- firmware firmware/uart_timer.psm: it sends "Korvo", echoes each byte it
-- receives back to port 04, counts timer interrupts and ends with OUTK on
-- constant port 1. Writes the core's port traffic to traffic_file, one line
-- per strobe as `korvo sim --trace` shows it (R read, W write, K constant
-- write: port and value, in hex), and "T n" for an interrupt acknowledged
-- n clocks after reset was released; says PASS when the echo is right.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;
use std.textio.all;

entity uart_timer_tb is
  generic (rom_file : string := "uart_timer.hex";
           traffic_file : string := "traffic.txt";
           max_clocks : positive := 200000);
end entity;

architecture test of uart_timer_tb is
  signal clk : std_logic := '0';
  signal reset : std_logic := '1';
  signal line_signal : std_logic;
  signal port_id, out_port, in_port : std_logic_vector(7 downto 0);
  signal write_strobe, k_write_strobe, read_strobe, interrupt_ack : std_logic;
  signal done : boolean := false;

  function hex (v : std_logic_vector(7 downto 0)) return string is
    constant digits : string(1 to 16) := "0123456789abcdef";
  begin
    return digits(to_integer(unsigned(v(7 downto 4))) + 1) &
      digits(to_integer(unsigned(v(3 downto 0))) + 1);
  end function;
begin
  system : entity work.uart_timer_system
    generic map (rom_file => rom_file)
    port map (clk => clk, reset => reset, rx => line_signal, tx => line_signal,
              port_id => port_id, out_port => out_port, in_port => in_port,
              write_strobe => write_strobe, k_write_strobe => k_write_strobe,
              read_strobe => read_strobe, interrupt_ack => interrupt_ack);

  clk <= not clk after 5 ns when not done;

  process
    file traffic : text open write_mode is traffic_file;
    variable l : line;
    variable clocks, ticks : integer := 0;
    variable echo : string(1 to 5) := (others => ' ');
    variable echoed : integer := 0;
  begin
    for i in 1 to 4 loop
      wait until rising_edge(clk);
    end loop;
    reset <= '0';
    loop
      wait until rising_edge(clk);
      if read_strobe = '1' then
        write(l, "R " & hex(port_id) & " " & hex(in_port));
        writeline(traffic, l);
      end if;
      if write_strobe = '1' then
        write(l, "W " & hex(port_id) & " " & hex(out_port));
        writeline(traffic, l);
        if port_id = X"04" and echoed < echo'length then
          echoed := echoed + 1;
          echo(echoed) := character'val(to_integer(unsigned(out_port)));
        end if;
      end if;
      if k_write_strobe = '1' then
        write(l, "K " & hex("0000" & port_id(3 downto 0)) & " " & hex(out_port));
        writeline(traffic, l);
      end if;
      if interrupt_ack = '1' then
        write(l, "T " & integer'image(clocks));
        writeline(traffic, l);
        ticks := ticks + 1;
      end if;
      if k_write_strobe = '1' and port_id(3 downto 0) = "0001" then
        if echo = "Korvo" and ticks > 0 then
          report "uart_timer_tb: PASS, echoed Korvo, " & integer'image(ticks) &
            " timer interrupts, " & integer'image(clocks) & " clocks";
        else
          report "uart_timer_tb: FAIL, echoed """ & echo & """, " & integer'image(ticks) &
            " timer interrupts" severity error;
        end if;
        exit;
      end if;
      clocks := clocks + 1;
      if clocks = max_clocks then
        report "uart_timer_tb: FAIL, no end after " & integer'image(clocks) & " clocks"
          severity error;
        exit;
      end if;
    end loop;
    done <= true;
    wait;
  end process;
end architecture;
