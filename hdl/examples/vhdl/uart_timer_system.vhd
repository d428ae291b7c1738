-- A small system on a PicoBlaze 6: the core, its program ROM, a UART and an
-- interval timer on the ports below. The core is Korvo's model; to run the
-- same system on KCPSM6 itself, rename korvo_kcpsm6 to kcpsm6 (nothing
-- else changes).
--   port 00 in:  status, bit 0 transmitter busy, bit 1 byte received
--   port 01 out: send a byte; in: the byte received (clears bit 1)
--   port 02 out: timer period in steps of 16 clocks, 0 stops the timer;
--                each period raises the interrupt until interrupt_ack
library ieee;
use ieee.std_logic_1164.all;

entity uart_timer_system is
  generic (rom_file : string;
           clocks_per_bit : positive := 8);
  port (clk, reset : in std_logic;
        rx : in std_logic;
        tx : out std_logic;
        -- the core's port bus, for the testbench's log
        port_id, out_port, in_port : out std_logic_vector(7 downto 0);
        write_strobe, k_write_strobe, read_strobe, interrupt_ack : out std_logic);
end entity;

architecture rtl of uart_timer_system is
  signal address : std_logic_vector(11 downto 0);
  signal instruction : std_logic_vector(17 downto 0);
  signal bram_enable, interrupt, tx_busy, rx_ready, send, take, load : std_logic;
  signal pid, data_out, data_in, rx_data : std_logic_vector(7 downto 0);
  signal write, kwrite, read, ack : std_logic;
begin
  cpu : entity work.korvo_kcpsm6
    port map (address => address, instruction => instruction, bram_enable => bram_enable,
              in_port => data_in, out_port => data_out, port_id => pid,
              write_strobe => write, k_write_strobe => kwrite, read_strobe => read,
              interrupt => interrupt, interrupt_ack => ack, sleep => '0', reset => reset,
              clk => clk);

  rom : entity work.program_rom
    generic map (rom_file => rom_file)
    port map (clk => clk, enable => bram_enable, address => address(9 downto 0),
              instruction => instruction);

  send <= write when pid = X"01" else '0';
  take <= read when pid = X"01" else '0';
  load <= write when pid = X"02" else '0';
  transmitter : entity work.uart_tx
    generic map (clocks_per_bit => clocks_per_bit)
    port map (clk => clk, reset => reset, data => data_out, send => send, line => tx,
              busy => tx_busy);
  receiver : entity work.uart_rx
    generic map (clocks_per_bit => clocks_per_bit)
    port map (clk => clk, reset => reset, line => rx, take => take, data => rx_data,
              ready => rx_ready);
  timer : entity work.interval_timer
    port map (clk => clk, reset => reset, period => data_out, load => load, ack => ack,
              request => interrupt);

  with pid select data_in <=
    "000000" & rx_ready & tx_busy when X"00",
    rx_data when X"01",
    X"00" when others;

  port_id <= pid;
  out_port <= data_out;
  in_port <= data_in;
  write_strobe <= write;
  k_write_strobe <= kwrite;
  read_strobe <= read;
  interrupt_ack <= ack;
end architecture;
