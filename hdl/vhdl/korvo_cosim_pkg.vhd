-- The calls into libkorvo_cosim.so (GHDL VHPIDIRECT; the library is found
-- through LD_LIBRARY_PATH or the system's library folders). The bodies below
-- only run when the library could not be bound.
library ieee;
use ieee.std_logic_1164.all;

package korvo_cosim_pkg is
  -- A vector of 0s and 1s as an integer; an undriven or unknown bit reads 0.
  function korvo_int (v : std_logic_vector) return integer;
  function korvo_int (b : std_logic) return integer;
  -- The low width bits of value (value >= 0).
  function korvo_vector (value, width : integer) return std_logic_vector;
  -- Bit n of value.
  function korvo_bit (value, n : integer) return std_logic;
  -- value in upper-case hexadecimal digits.
  function korvo_hex (value, digits : integer) return string;
  -- A file name as the library takes it: the characters, then NUL.
  subtype korvo_path is string(1 to 4096);
  function korvo_path_of (name : string) return korvo_path;
  function korvo_cosim_create (core, hwbuild, interrupt_vector, scratch_pad_size : integer) return integer;
  attribute foreign of korvo_cosim_create : function is "VHPIDIRECT libkorvo_cosim.so korvo_cosim_create";
  function korvo_cosim_load_program (handle : integer; path : korvo_path) return integer;
  attribute foreign of korvo_cosim_load_program : function is "VHPIDIRECT libkorvo_cosim.so korvo_cosim_load_program";
  function korvo_cosim_trace (handle : integer; path : korvo_path) return integer;
  attribute foreign of korvo_cosim_trace : function is "VHPIDIRECT libkorvo_cosim.so korvo_cosim_trace";
  procedure korvo_cosim_clock (handle, instruction, in_port, interrupt, sleep, reset : integer);
  attribute foreign of korvo_cosim_clock : procedure is "VHPIDIRECT libkorvo_cosim.so korvo_cosim_clock";
  procedure korvo_cosim_instruction (handle, instruction : integer);
  attribute foreign of korvo_cosim_instruction : procedure is "VHPIDIRECT libkorvo_cosim.so korvo_cosim_instruction";
  function korvo_cosim_bus (handle : integer) return integer;
  attribute foreign of korvo_cosim_bus : function is "VHPIDIRECT libkorvo_cosim.so korvo_cosim_bus";
  function korvo_cosim_strobes (handle : integer) return integer;
  attribute foreign of korvo_cosim_strobes : function is "VHPIDIRECT libkorvo_cosim.so korvo_cosim_strobes";
  function korvo_cosim_instructions_low (handle : integer) return integer;
  attribute foreign of korvo_cosim_instructions_low : function is "VHPIDIRECT libkorvo_cosim.so korvo_cosim_instructions_low";
  function korvo_cosim_pc (handle : integer) return integer;
  attribute foreign of korvo_cosim_pc : function is "VHPIDIRECT libkorvo_cosim.so korvo_cosim_pc";
end package;

package body korvo_cosim_pkg is
  function korvo_int (v : std_logic_vector) return integer is
    variable r : integer := 0;
  begin
    for i in v'range loop
      r := r + r;
      case v(i) is
        when '1' | 'H' => r := r + 1;
        when others => null;
      end case;
    end loop;
    return r;
  end;
  function korvo_int (b : std_logic) return integer is
  begin
    case b is
      when '1' | 'H' => return 1;
      when others => return 0;
    end case;
  end;
  type korvo_nibbles is array (0 to 15) of std_logic_vector(3 downto 0);
  constant nibbles : korvo_nibbles := ("0000", "0001", "0010", "0011", "0100", "0101", "0110", "0111",
                                       "1000", "1001", "1010", "1011", "1100", "1101", "1110", "1111");
  function korvo_vector (value, width : integer) return std_logic_vector is
    variable r : std_logic_vector((width + 3) / 4 * 4 - 1 downto 0);
    variable v : integer := value;
  begin
    for i in 0 to (width + 3) / 4 - 1 loop
      r(i * 4 + 3 downto i * 4) := nibbles(v mod 16);
      v := v / 16;
    end loop;
    return r(width - 1 downto 0);
  end;
  function korvo_bit (value, n : integer) return std_logic is
  begin
    if (value / 2 ** n) mod 2 = 1 then return '1'; else return '0'; end if;
  end;
  function korvo_hex (value, digits : integer) return string is
    constant h : string(1 to 16) := "0123456789ABCDEF";
    variable s : string(1 to digits);
    variable v : integer := value;
  begin
    for i in digits downto 1 loop
      s(i) := h(v mod 16 + 1);
      v := v / 16;
    end loop;
    return s;
  end;
  function korvo_path_of (name : string) return korvo_path is
    variable path : korvo_path := (others => character'val(0));
  begin
    assert name'length < path'length report "korvo_cosim: file name too long: " & name severity failure;
    for i in 1 to name'length loop
      path(i) := name(name'low + i - 1);
    end loop;
    return path;
  end;
  function korvo_cosim_create (core, hwbuild, interrupt_vector, scratch_pad_size : integer) return integer is
  begin
    assert false report "libkorvo_cosim.so is not loaded" severity failure; return -1;
  end;
  function korvo_cosim_load_program (handle : integer; path : korvo_path) return integer is
  begin
    assert false report "libkorvo_cosim.so is not loaded" severity failure; return -1;
  end;
  function korvo_cosim_trace (handle : integer; path : korvo_path) return integer is
  begin
    assert false report "libkorvo_cosim.so is not loaded" severity failure; return -1;
  end;
  procedure korvo_cosim_clock (handle, instruction, in_port, interrupt, sleep, reset : integer) is
  begin
    assert false report "libkorvo_cosim.so is not loaded" severity failure;
  end;
  procedure korvo_cosim_instruction (handle, instruction : integer) is
  begin
    assert false report "libkorvo_cosim.so is not loaded" severity failure;
  end;
  function korvo_cosim_bus (handle : integer) return integer is
  begin
    assert false report "libkorvo_cosim.so is not loaded" severity failure; return 0;
  end;
  function korvo_cosim_strobes (handle : integer) return integer is
  begin
    assert false report "libkorvo_cosim.so is not loaded" severity failure; return 0;
  end;
  function korvo_cosim_instructions_low (handle : integer) return integer is
  begin
    assert false report "libkorvo_cosim.so is not loaded" severity failure; return 0;
  end;
  function korvo_cosim_pc (handle : integer) return integer is
  begin
    assert false report "libkorvo_cosim.so is not loaded" severity failure; return 0;
  end;
end package body;
