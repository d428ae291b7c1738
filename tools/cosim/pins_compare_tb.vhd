-- Runs the vendor's KCPSM6 (entity kcpsm6, compiled from a local copy that is
-- never part of this tree) and korvo_kcpsm6 side by side, each on its own
-- copy of the program ROM, with the same reset, interrupt, sleep and in_port,
-- and compares every output pin after every rising clock edge.
--   HEXFILE  the program, one word per line (korvo asm --words, or a .hex)
--   CYCLES   clocks to run
--   INTS     clocks at which the interrupt line rises ("-" none); it falls
--            on the vendor core's interrupt_ack
--   SLEEPS, RESETS  clock ranges "a-b,c-d" with sleep or reset high (reset
--            is also high for clocks 0-3)
-- in_port is a port memory written by the vendor core's OUTPUT plus the clock
-- count, so that a read on a different edge shows.
library ieee; use ieee.std_logic_1164.all; use ieee.numeric_std.all; use std.textio.all;
entity pins_compare_tb is
  generic (HEXFILE : string := "prog.hex"; CYCLES : integer := 10000; HWB : integer := 0; VEC : integer := 16#3FF#;
           SPM : integer := 64; INTS : string := "-"; SLEEPS : string := "-"; RESETS : string := "-");
end;
architecture t of pins_compare_tb is
  type rom_t is array (0 to 4095) of std_logic_vector(17 downto 0);
  impure function load return rom_t is
    file f : text open read_mode is HEXFILE; variable l : line; variable r : rom_t := (others => (others => '0'));
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

  function in_ranges (s : string; n : integer) return boolean is
    variable a, v : integer := 0; variable have, dash : boolean := false;
  begin
    for j in s'range loop
      if s(j) >= '0' and s(j) <= '9' then v := v * 10 + character'pos(s(j)) - 48; have := true;
      elsif s(j) = '-' and have then a := v; v := 0; dash := true; have := false;
      elsif s(j) = ',' then
        if dash and have and n >= a and n <= v then return true; end if;
        v := 0; dash := false; have := false;
      end if;
    end loop;
    return dash and have and n >= a and n <= v;
  end;
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

  function hx (v : std_logic_vector) return string is
    variable s : string(1 to (v'length + 3) / 4); variable u : unsigned(((v'length + 3) / 4) * 4 - 1 downto 0);
    constant h : string(1 to 16) := "0123456789ABCDEF";
  begin
    if is_x(v) then return (s'range => 'X'); end if;
    u := resize(unsigned(v), u'length);
    for i in s'range loop s(i) := h(to_integer(u(u'high - (i - 1) * 4 downto u'high - (i - 1) * 4 - 3)) + 1); end loop;
    return s;
  end;

  signal clk, reset, interrupt, sleep : std_logic := '0';
  signal in_port : std_logic_vector(7 downto 0) := (others => '0');
  type ports_t is array (0 to 255) of unsigned(7 downto 0);
  signal ports : ports_t := (others => (others => '0'));
  signal cycle : unsigned(7 downto 0) := (others => '0');

  -- vendor (v) and model (m) pins
  signal v_address, m_address : std_logic_vector(11 downto 0);
  signal v_instruction, m_instruction : std_logic_vector(17 downto 0) := (others => '0');
  signal v_bram_enable, m_bram_enable, v_write_strobe, m_write_strobe, v_k_write_strobe, m_k_write_strobe,
         v_read_strobe, m_read_strobe, v_interrupt_ack, m_interrupt_ack : std_logic;
  signal v_out_port, m_out_port, v_port_id, m_port_id : std_logic_vector(7 downto 0);
begin
  vendor : entity work.kcpsm6
    generic map (hwbuild => std_logic_vector(to_unsigned(HWB, 8)), interrupt_vector => std_logic_vector(to_unsigned(VEC, 12)),
                 scratch_pad_memory_size => SPM)
    port map (address => v_address, instruction => v_instruction, bram_enable => v_bram_enable, in_port => in_port,
              out_port => v_out_port, port_id => v_port_id, write_strobe => v_write_strobe,
              k_write_strobe => v_k_write_strobe, read_strobe => v_read_strobe, interrupt => interrupt,
              interrupt_ack => v_interrupt_ack, sleep => sleep, reset => reset, clk => clk);
  model : entity work.korvo_kcpsm6
    generic map (hwbuild => std_logic_vector(to_unsigned(HWB, 8)), interrupt_vector => std_logic_vector(to_unsigned(VEC, 12)),
                 scratch_pad_memory_size => SPM)
    port map (address => m_address, instruction => m_instruction, bram_enable => m_bram_enable, in_port => in_port,
              out_port => m_out_port, port_id => m_port_id, write_strobe => m_write_strobe,
              k_write_strobe => m_k_write_strobe, read_strobe => m_read_strobe, interrupt => interrupt,
              interrupt_ack => m_interrupt_ack, sleep => sleep, reset => reset, clk => clk);

  in_port <= std_logic_vector(ports(to_integer(unsigned(v_port_id))) + cycle) when not is_x(v_port_id) else (others => '0');

  roms : process (clk) begin
    if rising_edge(clk) then
      if v_bram_enable = '1' then v_instruction <= rom(to_integer(unsigned(v_address))); end if;
      if m_bram_enable = '1' then m_instruction <= rom(to_integer(unsigned(m_address))); end if;
      if v_write_strobe = '1' then ports(to_integer(unsigned(v_port_id))) <= unsigned(v_out_port); end if;
      cycle <= cycle + 1;
    end if;
  end process;

  run : process
    variable l : line;
    variable differences, acks : integer := 0;
    procedure check (name : string; v, m : std_logic_vector; n : integer) is
    begin
      if v /= m then
        differences := differences + 1;
        if differences <= 10 then
          report "clock " & integer'image(n) & ": " & name & " vendor " & hx(v) & " model " & hx(m)
                 & " (vendor at " & hx(v_address) & " with instruction " & hx(v_instruction) & ")" severity error;
        end if;
      end if;
    end;
    procedure check (name : string; v, m : std_logic; n : integer) is
    begin
      check(name, (0 => v), (0 => m), n);
    end;
  begin
    for n in 0 to CYCLES - 1 loop
      if n < 4 or in_ranges(RESETS, n) then reset <= '1'; else reset <= '0'; end if;
      if in_ranges(SLEEPS, n) then sleep <= '1'; else sleep <= '0'; end if;
      if in_list(INTS, n) then interrupt <= '1'; elsif v_interrupt_ack = '1' then interrupt <= '0'; end if;
      if v_interrupt_ack = '1' then acks := acks + 1; end if;
      clk <= '0'; wait for 5 ns; clk <= '1'; wait for 2 ns;
      check("address", v_address, m_address, n);
      check("port_id", v_port_id, m_port_id, n);
      check("out_port", v_out_port, m_out_port, n);
      check("bram_enable", v_bram_enable, m_bram_enable, n);
      check("write_strobe", v_write_strobe, m_write_strobe, n);
      check("k_write_strobe", v_k_write_strobe, m_k_write_strobe, n);
      check("read_strobe", v_read_strobe, m_read_strobe, n);
      check("interrupt_ack", v_interrupt_ack, m_interrupt_ack, n);
      wait for 3 ns;
    end loop;
    write(l, "compared " & integer'image(CYCLES) & " clocks, " & integer'image(acks) & " interrupts acknowledged, "
          & integer'image(differences) & " differences");
    writeline(output, l);
    if differences /= 0 then
      report "the pins differ" severity failure;
    end if;
    wait;
  end process;
end;
