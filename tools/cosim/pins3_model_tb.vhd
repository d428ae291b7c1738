-- korvo_kcpsm3 under GHDL for pins3_compare.sh: the stimulus of
-- pins3_vendor_tb.v and the same line per clock.
library ieee; use ieee.std_logic_1164.all; use ieee.numeric_std.all; use std.textio.all;
entity pins3_model_tb is
  generic (ROMFILE, STIMFILE, OUTFILE : string; CYCLES : integer);
end;
architecture t of pins3_model_tb is
  type rom_t is array (0 to 1023) of std_logic_vector(17 downto 0);
  impure function load return rom_t is
    file f : text open read_mode is ROMFILE; variable l : line; variable r : rom_t := (others => (others => '0'));
    variable i : integer := 0; variable v : integer; variable c : character;
  begin
    while not endfile(f) and i < 1024 loop
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
    variable s : string(1 to (v'length + 3) / 4); variable u : unsigned(((v'length + 3) / 4) * 4 - 1 downto 0);
    constant h : string(1 to 16) := "0123456789abcdef";
  begin
    u := resize(unsigned(v), u'length);
    for i in s'range loop s(i) := h(to_integer(u(u'high - (i - 1) * 4 downto u'high - (i - 1) * 4 - 3)) + 1); end loop;
    return s;
  end;
  function b (x : std_logic) return string is begin
    if x = '1' then return "1"; else return "0"; end if; end;
  type ports_t is array (0 to 255) of unsigned(7 downto 0);
  signal ports : ports_t := (others => (others => '0'));
  signal cycle : unsigned(7 downto 0) := (others => '0');
  signal clk, reset, interrupt : std_logic := '0';
  signal instruction : std_logic_vector(17 downto 0) := (others => '0');
  signal address : std_logic_vector(9 downto 0);
  signal port_id, out_port, in_port : std_logic_vector(7 downto 0);
  signal write_strobe, read_strobe, interrupt_ack : std_logic;
begin
  core : entity work.korvo_kcpsm3
    port map (address => address, instruction => instruction, port_id => port_id, write_strobe => write_strobe,
              out_port => out_port, read_strobe => read_strobe, in_port => in_port, interrupt => interrupt,
              interrupt_ack => interrupt_ack, reset => reset, clk => clk);
  in_port <= std_logic_vector(ports(to_integer(unsigned(port_id))) + cycle);
  process (clk) begin
    if rising_edge(clk) then
      instruction <= rom(to_integer(unsigned(address)));
      if write_strobe = '1' then ports(to_integer(unsigned(port_id))) <= unsigned(out_port); end if;
      cycle <= cycle + 1;
    end if;
  end process;
  process
    file sf : text open read_mode is STIMFILE;
    file tf : text open write_mode is OUTFILE;
    variable l, o : line;
  begin
    for n in 0 to CYCLES - 1 loop
      readline(sf, l);
      if l(1) = '1' then reset <= '1'; else reset <= '0'; end if;
      if l(2) = '1' then interrupt <= '1'; elsif interrupt_ack = '1' then interrupt <= '0'; end if;
      clk <= '0'; wait for 5 ns; clk <= '1'; wait for 2 ns;
      write(o, integer'image(n) & " " & hx(address) & " " & hx(port_id) & " " & hx(out_port) & " " & b(write_strobe)
            & " " & b(read_strobe) & " " & b(interrupt_ack));
      writeline(tf, o);
      wait for 3 ns;
    end loop;
    wait;
  end process;
end;
