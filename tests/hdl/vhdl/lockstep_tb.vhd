-- korvo_kcpsm6_lockstep beside a core (entity watched_kcpsm6) on a program
-- ROM, with interrupts at the clocks in INTS (each held until acknowledged)
-- and ports that are latches. With BREAK_AT >= 0 the checker sees port_id
-- with bit 0 inverted at that clock, as if the core had a fault there.
library ieee; use ieee.std_logic_1164.all; use ieee.numeric_std.all; use std.textio.all;
entity lockstep_tb is
  generic (ROMFILE : string; CYCLES : integer := 20000; INTS : string := "-"; BREAK_AT : integer := -1);
end;
architecture t of lockstep_tb is
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
  function in_list (s : string; n : integer) return boolean is
    variable v : integer := 0; variable have : boolean := false;
  begin
    for j in s'range loop
      if s(j) >= '0' and s(j) <= '9' then v := v * 10 + character'pos(s(j)) - 48; have := true;
      else
        if have and v = n then return true; end if;
        v := 0; have := false;
      end if;
    end loop;
    return have and v = n;
  end;
  type ports_t is array (0 to 255) of std_logic_vector(7 downto 0);
  signal ports : ports_t := (others => (others => '0'));
  signal clk, reset, interrupt : std_logic := '0';
  signal address : std_logic_vector(11 downto 0);
  signal instruction : std_logic_vector(17 downto 0) := (others => '0');
  signal bram_enable, write_strobe, k_write_strobe, read_strobe, interrupt_ack : std_logic;
  signal in_port, out_port, port_id, seen_port_id : std_logic_vector(7 downto 0);
  signal broken : std_logic := '0';
begin
  core : entity work.watched_kcpsm6
    port map (address => address, instruction => instruction, bram_enable => bram_enable, in_port => in_port,
              out_port => out_port, port_id => port_id, write_strobe => write_strobe,
              k_write_strobe => k_write_strobe, read_strobe => read_strobe, interrupt => interrupt,
              interrupt_ack => interrupt_ack, sleep => '0', reset => reset, clk => clk);
  seen_port_id <= port_id xor ("0000000" & broken);
  checker : entity work.korvo_kcpsm6_lockstep
    port map (instruction => instruction, in_port => in_port, interrupt => interrupt, sleep => '0', reset => reset,
              clk => clk, address => address, bram_enable => bram_enable, out_port => out_port,
              port_id => seen_port_id, write_strobe => write_strobe, k_write_strobe => k_write_strobe,
              read_strobe => read_strobe, interrupt_ack => interrupt_ack);
  in_port <= ports(to_integer(unsigned(port_id))) when not is_x(port_id) else (others => '0');
  process (clk) begin
    if rising_edge(clk) then
      if bram_enable = '1' then instruction <= rom(to_integer(unsigned(address))); end if;
      if write_strobe = '1' then ports(to_integer(unsigned(port_id))) <= out_port; end if;
    end if;
  end process;
  process
    variable l : line;
  begin
    for n in 0 to CYCLES - 1 loop
      if n < 4 then reset <= '1'; else reset <= '0'; end if;
      if in_list(INTS, n) then interrupt <= '1'; elsif interrupt_ack = '1' then interrupt <= '0'; end if;
      clk <= '0'; wait for 5 ns; clk <= '1';
      if n = BREAK_AT then broken <= '1'; else broken <= '0'; end if;
      wait for 5 ns;
    end loop;
    write(l, "lockstep: " & integer'image(CYCLES) & " clocks agree");
    writeline(output, l);
    wait;
  end process;
end;
