-- The core that lockstep_tb.vhd watches, here Korvo's own model (the
-- checker must agree with it at every pin).
library ieee; use ieee.std_logic_1164.all;
entity watched_kcpsm6 is
  port (address : out std_logic_vector(11 downto 0); instruction : in std_logic_vector(17 downto 0);
        bram_enable : out std_logic; in_port : in std_logic_vector(7 downto 0);
        out_port, port_id : out std_logic_vector(7 downto 0);
        write_strobe, k_write_strobe, read_strobe, interrupt_ack : out std_logic;
        interrupt, sleep, reset, clk : in std_logic);
end;
architecture wrap of watched_kcpsm6 is
begin
  core : entity work.korvo_kcpsm6
    port map (address => address, instruction => instruction, bram_enable => bram_enable, in_port => in_port,
              out_port => out_port, port_id => port_id, write_strobe => write_strobe,
              k_write_strobe => k_write_strobe, read_strobe => read_strobe, interrupt => interrupt,
              interrupt_ack => interrupt_ack, sleep => sleep, reset => reset, clk => clk);
end;
