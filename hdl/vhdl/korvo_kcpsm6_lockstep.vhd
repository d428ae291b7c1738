-- Watches a PicoBlaze 6 core in a design: placed beside it with the same
-- inputs and the core's outputs, it runs Korvo's model of the core in
-- lockstep and stops the simulation at the first clock where a pin differs,
-- with the time, the instructions completed, the program counter, the pin,
-- and the value expected and the one seen. Needs GHDL and libkorvo_cosim.so
-- on LD_LIBRARY_PATH.
library ieee;
use ieee.std_logic_1164.all;
use work.korvo_cosim_pkg.all;

entity korvo_kcpsm6_lockstep is
  generic (hwbuild                 : std_logic_vector(7 downto 0)  := X"00";
           interrupt_vector        : std_logic_vector(11 downto 0) := X"3FF";
           scratch_pad_memory_size : integer                       := 64);
  port (-- the core's inputs
        instruction    : in std_logic_vector(17 downto 0);
        in_port        : in std_logic_vector(7 downto 0);
        interrupt      : in std_logic;
        sleep          : in std_logic;
        reset          : in std_logic;
        clk            : in std_logic;
        -- the core's outputs
        address        : in std_logic_vector(11 downto 0);
        bram_enable    : in std_logic;
        out_port       : in std_logic_vector(7 downto 0);
        port_id        : in std_logic_vector(7 downto 0);
        write_strobe   : in std_logic;
        k_write_strobe : in std_logic;
        read_strobe    : in std_logic;
        interrupt_ack  : in std_logic);
end entity;

architecture model of korvo_kcpsm6_lockstep is
begin
  process
    variable handle, pins, strobes : integer;
    procedure check (name : string; expected, seen, digits : integer) is
    begin
      assert expected = seen
        report "korvo_kcpsm6_lockstep: the core differs from the model at " & integer'image(now / 1 ns) & " ns after "
               & integer'image(korvo_cosim_instructions_low(handle)) & " instructions, PC "
               & korvo_hex(korvo_cosim_pc(handle), 3) & ": " & name & " expected " & korvo_hex(expected, digits)
               & ", seen " & korvo_hex(seen, digits)
        severity failure;
    end;
  begin
    handle := korvo_cosim_create(6, korvo_int(hwbuild), korvo_int(interrupt_vector), scratch_pad_memory_size);
    assert handle >= 0 report "korvo_kcpsm6_lockstep: the core model cannot be created (check the generics)"
      severity failure;
    loop
      wait until rising_edge(clk);
      korvo_cosim_clock(handle, korvo_int(instruction), korvo_int(in_port), korvo_int(interrupt), korvo_int(sleep),
                        korvo_int(reset));
      -- The core's outputs have settled by the falling edge.
      wait until falling_edge(clk);
      korvo_cosim_instruction(handle, korvo_int(instruction));
      pins := korvo_cosim_bus(handle);
      strobes := korvo_cosim_strobes(handle);
      check("address", pins mod 4096, korvo_int(address), 3);
      check("port_id", (pins / 4096) mod 256, korvo_int(port_id), 2);
      check("out_port", (pins / 1048576) mod 256, korvo_int(out_port), 2);
      check("bram_enable", strobes mod 2, korvo_int(bram_enable), 1);
      check("write_strobe", (strobes / 2) mod 2, korvo_int(write_strobe), 1);
      check("k_write_strobe", (strobes / 4) mod 2, korvo_int(k_write_strobe), 1);
      check("read_strobe", (strobes / 8) mod 2, korvo_int(read_strobe), 1);
      check("interrupt_ack", (strobes / 16) mod 2, korvo_int(interrupt_ack), 1);
    end loop;
  end process;
end architecture;
