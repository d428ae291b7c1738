-- Korvo's PicoBlaze 3 core with the ports of KCPSM3: rename the instance's
-- entity and the testbench runs on the model at C speed. The model fetches
-- its instructions from the design's program ROM through
-- address/instruction, exactly like the core; a program_file (.psm, .hex or
-- words file) makes it ignore the instruction pins and run that program
-- instead. trace_file writes the trace of `korvo sim --trace`.
-- Needs GHDL and libkorvo_cosim.so on LD_LIBRARY_PATH.
library ieee;
use ieee.std_logic_1164.all;
use work.korvo_cosim_pkg.all;

entity korvo_kcpsm3 is
  generic (program_file : string := "";
           trace_file   : string := "");
  port (address       : out std_logic_vector(9 downto 0);
        instruction   : in  std_logic_vector(17 downto 0);
        port_id       : out std_logic_vector(7 downto 0);
        write_strobe  : out std_logic;
        out_port      : out std_logic_vector(7 downto 0);
        read_strobe   : out std_logic;
        in_port       : in  std_logic_vector(7 downto 0);
        interrupt     : in  std_logic;
        interrupt_ack : out std_logic;
        reset         : in  std_logic;
        clk           : in  std_logic);
end entity;

architecture model of korvo_kcpsm3 is
begin
  process
    variable handle, word : integer;
    variable pins, strobes : integer := -1;
    variable last_pins, last_strobes : integer := -1;
  begin
    handle := korvo_cosim_create(3, 0, 0, 64);
    assert handle >= 0 report "korvo_kcpsm3: the core model cannot be created" severity failure;
    if program_file /= "" then
      assert korvo_cosim_load_program(handle, korvo_path_of(program_file)) = 0
        report "korvo_kcpsm3: cannot load the program " & program_file severity failure;
    end if;
    if trace_file /= "" then
      assert korvo_cosim_trace(handle, korvo_path_of(trace_file)) = 0
        report "korvo_kcpsm3: cannot write the trace " & trace_file severity failure;
    end if;
    loop
      -- As in korvo_kcpsm6: only what changed is driven.
      word := korvo_int(instruction);
      if rising_edge(clk) then
        korvo_cosim_clock(handle, word, korvo_int(in_port), korvo_int(interrupt), 0, korvo_int(reset));
      end if;
      if rising_edge(clk) or last_strobes < 0 then
        strobes := korvo_cosim_strobes(handle);
        if strobes /= last_strobes then
          write_strobe <= korvo_bit(strobes, 1);
          read_strobe <= korvo_bit(strobes, 3);
          interrupt_ack <= korvo_bit(strobes, 4);
          last_strobes := strobes;
        end if;
      end if;
      korvo_cosim_instruction(handle, word);
      pins := korvo_cosim_bus(handle);
      if pins /= last_pins then
        if last_pins < 0 or pins mod 4096 /= last_pins mod 4096 then
          address <= korvo_vector(pins mod 1024, 10);
        end if;
        if last_pins < 0 or pins / 4096 /= last_pins / 4096 then
          port_id <= korvo_vector((pins / 4096) mod 256, 8);
          out_port <= korvo_vector(pins / 1048576, 8);
        end if;
        last_pins := pins;
      end if;
      wait until rising_edge(clk) or instruction'event;
    end loop;
  end process;
end architecture;
