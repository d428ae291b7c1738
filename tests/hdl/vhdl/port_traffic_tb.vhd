-- korvo_kcpsm6 on a program ROM, with every port a latch that reads 0 until
-- written (as korvo sim treats ports declared with DSIO). Writes one line per
-- strobe seen at the pins, as korvo sim --trace writes its accesses:
--   W pp vv   write_strobe: port_id, out_port
--   K 0p vv   k_write_strobe: port_id(3..0), out_port
--   R pp vv   read_strobe: port_id and in_port on the edge that ends the INPUT
-- and stops after N instructions (each instruction fetches once through
-- bram_enable once out of reset; no interrupts). The model also writes its own TRACE.
-- With PROGRAM set, the model runs that file and the ROM's words are not used.
library ieee; use ieee.std_logic_1164.all; use ieee.numeric_std.all; use std.textio.all;
entity port_traffic_tb is
  generic (ROMFILE : string; PORTLOG : string; TRACE : string; N : integer := 2000; PROGRAM : string := "");
end;
architecture t of port_traffic_tb is
  type rom_t is array (0 to 4095) of std_logic_vector(17 downto 0);
  impure function load return rom_t is
    file f : text open read_mode is ROMFILE; variable l : line; variable r : rom_t := (others => (others => '0'));
    variable i : integer := 0; variable v : integer; variable c : character;
  begin
    while not endfile(f) and i < 4096 loop
      readline(f, l); v := 0;
      for k in 1 to l'length loop
        c := l(k);
        if c >= '0' and c <= '9' then v := v * 16 + character'pos(c) - 48;
        elsif c >= 'A' and c <= 'F' then v := v * 16 + character'pos(c) - 55;
        elsif c >= 'a' and c <= 'f' then v := v * 16 + character'pos(c) - 87; end if;
      end loop;
      if l'length > 0 then r(i) := std_logic_vector(to_unsigned(v, 18)); i := i + 1; end if;
    end loop;
    return r;
  end;
  constant rom : rom_t := load;
  function hx (v : std_logic_vector) return string is
    variable s : string(1 to v'length / 4); constant h : string(1 to 16) := "0123456789ABCDEF";
  begin
    for i in s'range loop
      s(i) := h(to_integer(unsigned(v(v'high - (i - 1) * 4 downto v'high - (i - 1) * 4 - 3))) + 1);
    end loop;
    return s;
  end;
  type ports_t is array (0 to 255) of std_logic_vector(7 downto 0);
  signal ports : ports_t := (others => (others => '0'));
  signal clk, reset : std_logic := '0';
  signal address : std_logic_vector(11 downto 0);
  signal instruction : std_logic_vector(17 downto 0) := (others => '0');
  signal bram_enable, write_strobe, k_write_strobe, read_strobe, interrupt_ack : std_logic;
  signal in_port, out_port, port_id : std_logic_vector(7 downto 0);
begin
  core : entity work.korvo_kcpsm6
    generic map (program_file => PROGRAM, trace_file => TRACE)
    port map (address => address, instruction => instruction, bram_enable => bram_enable, in_port => in_port,
              out_port => out_port, port_id => port_id, write_strobe => write_strobe,
              k_write_strobe => k_write_strobe, read_strobe => read_strobe, interrupt => '0',
              interrupt_ack => interrupt_ack, sleep => '0', reset => reset, clk => clk);
  in_port <= ports(to_integer(unsigned(port_id)));
  process (clk) begin
    if rising_edge(clk) then
      if bram_enable = '1' then instruction <= rom(to_integer(unsigned(address))); end if;
      if write_strobe = '1' then ports(to_integer(unsigned(port_id))) <= out_port; end if;
    end if;
  end process;
  process
    file log : text open write_mode is PORTLOG;
    variable l : line;
    variable fetches : integer := 0;
  begin
    while fetches <= N loop
      if fetches = 0 and now < 40 ns then reset <= '1'; else reset <= '0'; end if;
      clk <= '0'; wait for 5 ns;
      if write_strobe = '1' then write(l, "W " & hx(port_id) & " " & hx(out_port)); writeline(log, l); end if;
      if k_write_strobe = '1' then write(l, "K 0" & hx(port_id(3 downto 0)) & " " & hx(out_port)); writeline(log, l); end if;
      if read_strobe = '1' then write(l, "R " & hx(port_id) & " " & hx(in_port)); writeline(log, l); end if;
      if bram_enable = '1' and reset = '0' then fetches := fetches + 1; end if;
      clk <= '1'; wait for 5 ns;
    end loop;
    wait;
  end process;
end;
