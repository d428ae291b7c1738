-- rom_4k_pbt6.vhd - a template of a 4K-word program memory for the PicoBlaze 6.
--
-- Name it in a source with the VHDL directive, for example
--     VHDL "rom_4k_pbt6.vhd", "program_rom.vhd", program_rom
-- and every assembly writes program_rom.vhd: the text after the marker line
-- below, with the entity name for each name tag and 64 hexadecimal digits of
-- the program for each row tag.
--
-- The tags are those of ROM templates of a 4K memory made of two 9-bit
-- halves, 4096 x 9 each, the lowest address in the rightmost digits:
--   {[8:0]_INIT_00} .. {[8:0]_INIT_7F}     bits 7..0 of 32 words a row
--   {[8:0]_INITP_00} .. {[8:0]_INITP_0F}   bit 8 of 256 words a row
--   {[17:9]_INIT_00} .. {[17:9]_INIT_7F}   bits 16..9 of 32 words a row
--   {[17:9]_INITP_00} .. {[17:9]_INITP_0F} bit 17 of 256 words a row
-- The architecture below puts the rows back together into one constant
-- array; synthesis tools map such a ROM with a registered read onto block
-- RAM. A program built for less memory leaves the upper rows at zero.
{begin template}
-- {name}: 4096 x 18 program memory of a PicoBlaze 6, made by Korvo IDE.
library ieee;
use ieee.std_logic_1164.all;
use ieee.numeric_std.all;

entity {name} is
  port (address     : in  std_logic_vector(11 downto 0);
        instruction : out std_logic_vector(17 downto 0);
        enable      : in  std_logic;
        clk         : in  std_logic);
end entity {name};

architecture rom of {name} is

  type init_rows is array (0 to 127) of bit_vector(255 downto 0);
  type parity_rows is array (0 to 15) of bit_vector(255 downto 0);

  constant low_init : init_rows := (
    X"{[8:0]_INIT_00}",
    X"{[8:0]_INIT_01}",
    X"{[8:0]_INIT_02}",
    X"{[8:0]_INIT_03}",
    X"{[8:0]_INIT_04}",
    X"{[8:0]_INIT_05}",
    X"{[8:0]_INIT_06}",
    X"{[8:0]_INIT_07}",
    X"{[8:0]_INIT_08}",
    X"{[8:0]_INIT_09}",
    X"{[8:0]_INIT_0A}",
    X"{[8:0]_INIT_0B}",
    X"{[8:0]_INIT_0C}",
    X"{[8:0]_INIT_0D}",
    X"{[8:0]_INIT_0E}",
    X"{[8:0]_INIT_0F}",
    X"{[8:0]_INIT_10}",
    X"{[8:0]_INIT_11}",
    X"{[8:0]_INIT_12}",
    X"{[8:0]_INIT_13}",
    X"{[8:0]_INIT_14}",
    X"{[8:0]_INIT_15}",
    X"{[8:0]_INIT_16}",
    X"{[8:0]_INIT_17}",
    X"{[8:0]_INIT_18}",
    X"{[8:0]_INIT_19}",
    X"{[8:0]_INIT_1A}",
    X"{[8:0]_INIT_1B}",
    X"{[8:0]_INIT_1C}",
    X"{[8:0]_INIT_1D}",
    X"{[8:0]_INIT_1E}",
    X"{[8:0]_INIT_1F}",
    X"{[8:0]_INIT_20}",
    X"{[8:0]_INIT_21}",
    X"{[8:0]_INIT_22}",
    X"{[8:0]_INIT_23}",
    X"{[8:0]_INIT_24}",
    X"{[8:0]_INIT_25}",
    X"{[8:0]_INIT_26}",
    X"{[8:0]_INIT_27}",
    X"{[8:0]_INIT_28}",
    X"{[8:0]_INIT_29}",
    X"{[8:0]_INIT_2A}",
    X"{[8:0]_INIT_2B}",
    X"{[8:0]_INIT_2C}",
    X"{[8:0]_INIT_2D}",
    X"{[8:0]_INIT_2E}",
    X"{[8:0]_INIT_2F}",
    X"{[8:0]_INIT_30}",
    X"{[8:0]_INIT_31}",
    X"{[8:0]_INIT_32}",
    X"{[8:0]_INIT_33}",
    X"{[8:0]_INIT_34}",
    X"{[8:0]_INIT_35}",
    X"{[8:0]_INIT_36}",
    X"{[8:0]_INIT_37}",
    X"{[8:0]_INIT_38}",
    X"{[8:0]_INIT_39}",
    X"{[8:0]_INIT_3A}",
    X"{[8:0]_INIT_3B}",
    X"{[8:0]_INIT_3C}",
    X"{[8:0]_INIT_3D}",
    X"{[8:0]_INIT_3E}",
    X"{[8:0]_INIT_3F}",
    X"{[8:0]_INIT_40}",
    X"{[8:0]_INIT_41}",
    X"{[8:0]_INIT_42}",
    X"{[8:0]_INIT_43}",
    X"{[8:0]_INIT_44}",
    X"{[8:0]_INIT_45}",
    X"{[8:0]_INIT_46}",
    X"{[8:0]_INIT_47}",
    X"{[8:0]_INIT_48}",
    X"{[8:0]_INIT_49}",
    X"{[8:0]_INIT_4A}",
    X"{[8:0]_INIT_4B}",
    X"{[8:0]_INIT_4C}",
    X"{[8:0]_INIT_4D}",
    X"{[8:0]_INIT_4E}",
    X"{[8:0]_INIT_4F}",
    X"{[8:0]_INIT_50}",
    X"{[8:0]_INIT_51}",
    X"{[8:0]_INIT_52}",
    X"{[8:0]_INIT_53}",
    X"{[8:0]_INIT_54}",
    X"{[8:0]_INIT_55}",
    X"{[8:0]_INIT_56}",
    X"{[8:0]_INIT_57}",
    X"{[8:0]_INIT_58}",
    X"{[8:0]_INIT_59}",
    X"{[8:0]_INIT_5A}",
    X"{[8:0]_INIT_5B}",
    X"{[8:0]_INIT_5C}",
    X"{[8:0]_INIT_5D}",
    X"{[8:0]_INIT_5E}",
    X"{[8:0]_INIT_5F}",
    X"{[8:0]_INIT_60}",
    X"{[8:0]_INIT_61}",
    X"{[8:0]_INIT_62}",
    X"{[8:0]_INIT_63}",
    X"{[8:0]_INIT_64}",
    X"{[8:0]_INIT_65}",
    X"{[8:0]_INIT_66}",
    X"{[8:0]_INIT_67}",
    X"{[8:0]_INIT_68}",
    X"{[8:0]_INIT_69}",
    X"{[8:0]_INIT_6A}",
    X"{[8:0]_INIT_6B}",
    X"{[8:0]_INIT_6C}",
    X"{[8:0]_INIT_6D}",
    X"{[8:0]_INIT_6E}",
    X"{[8:0]_INIT_6F}",
    X"{[8:0]_INIT_70}",
    X"{[8:0]_INIT_71}",
    X"{[8:0]_INIT_72}",
    X"{[8:0]_INIT_73}",
    X"{[8:0]_INIT_74}",
    X"{[8:0]_INIT_75}",
    X"{[8:0]_INIT_76}",
    X"{[8:0]_INIT_77}",
    X"{[8:0]_INIT_78}",
    X"{[8:0]_INIT_79}",
    X"{[8:0]_INIT_7A}",
    X"{[8:0]_INIT_7B}",
    X"{[8:0]_INIT_7C}",
    X"{[8:0]_INIT_7D}",
    X"{[8:0]_INIT_7E}",
    X"{[8:0]_INIT_7F}");

  constant low_parity : parity_rows := (
    X"{[8:0]_INITP_00}",
    X"{[8:0]_INITP_01}",
    X"{[8:0]_INITP_02}",
    X"{[8:0]_INITP_03}",
    X"{[8:0]_INITP_04}",
    X"{[8:0]_INITP_05}",
    X"{[8:0]_INITP_06}",
    X"{[8:0]_INITP_07}",
    X"{[8:0]_INITP_08}",
    X"{[8:0]_INITP_09}",
    X"{[8:0]_INITP_0A}",
    X"{[8:0]_INITP_0B}",
    X"{[8:0]_INITP_0C}",
    X"{[8:0]_INITP_0D}",
    X"{[8:0]_INITP_0E}",
    X"{[8:0]_INITP_0F}");

  constant high_init : init_rows := (
    X"{[17:9]_INIT_00}",
    X"{[17:9]_INIT_01}",
    X"{[17:9]_INIT_02}",
    X"{[17:9]_INIT_03}",
    X"{[17:9]_INIT_04}",
    X"{[17:9]_INIT_05}",
    X"{[17:9]_INIT_06}",
    X"{[17:9]_INIT_07}",
    X"{[17:9]_INIT_08}",
    X"{[17:9]_INIT_09}",
    X"{[17:9]_INIT_0A}",
    X"{[17:9]_INIT_0B}",
    X"{[17:9]_INIT_0C}",
    X"{[17:9]_INIT_0D}",
    X"{[17:9]_INIT_0E}",
    X"{[17:9]_INIT_0F}",
    X"{[17:9]_INIT_10}",
    X"{[17:9]_INIT_11}",
    X"{[17:9]_INIT_12}",
    X"{[17:9]_INIT_13}",
    X"{[17:9]_INIT_14}",
    X"{[17:9]_INIT_15}",
    X"{[17:9]_INIT_16}",
    X"{[17:9]_INIT_17}",
    X"{[17:9]_INIT_18}",
    X"{[17:9]_INIT_19}",
    X"{[17:9]_INIT_1A}",
    X"{[17:9]_INIT_1B}",
    X"{[17:9]_INIT_1C}",
    X"{[17:9]_INIT_1D}",
    X"{[17:9]_INIT_1E}",
    X"{[17:9]_INIT_1F}",
    X"{[17:9]_INIT_20}",
    X"{[17:9]_INIT_21}",
    X"{[17:9]_INIT_22}",
    X"{[17:9]_INIT_23}",
    X"{[17:9]_INIT_24}",
    X"{[17:9]_INIT_25}",
    X"{[17:9]_INIT_26}",
    X"{[17:9]_INIT_27}",
    X"{[17:9]_INIT_28}",
    X"{[17:9]_INIT_29}",
    X"{[17:9]_INIT_2A}",
    X"{[17:9]_INIT_2B}",
    X"{[17:9]_INIT_2C}",
    X"{[17:9]_INIT_2D}",
    X"{[17:9]_INIT_2E}",
    X"{[17:9]_INIT_2F}",
    X"{[17:9]_INIT_30}",
    X"{[17:9]_INIT_31}",
    X"{[17:9]_INIT_32}",
    X"{[17:9]_INIT_33}",
    X"{[17:9]_INIT_34}",
    X"{[17:9]_INIT_35}",
    X"{[17:9]_INIT_36}",
    X"{[17:9]_INIT_37}",
    X"{[17:9]_INIT_38}",
    X"{[17:9]_INIT_39}",
    X"{[17:9]_INIT_3A}",
    X"{[17:9]_INIT_3B}",
    X"{[17:9]_INIT_3C}",
    X"{[17:9]_INIT_3D}",
    X"{[17:9]_INIT_3E}",
    X"{[17:9]_INIT_3F}",
    X"{[17:9]_INIT_40}",
    X"{[17:9]_INIT_41}",
    X"{[17:9]_INIT_42}",
    X"{[17:9]_INIT_43}",
    X"{[17:9]_INIT_44}",
    X"{[17:9]_INIT_45}",
    X"{[17:9]_INIT_46}",
    X"{[17:9]_INIT_47}",
    X"{[17:9]_INIT_48}",
    X"{[17:9]_INIT_49}",
    X"{[17:9]_INIT_4A}",
    X"{[17:9]_INIT_4B}",
    X"{[17:9]_INIT_4C}",
    X"{[17:9]_INIT_4D}",
    X"{[17:9]_INIT_4E}",
    X"{[17:9]_INIT_4F}",
    X"{[17:9]_INIT_50}",
    X"{[17:9]_INIT_51}",
    X"{[17:9]_INIT_52}",
    X"{[17:9]_INIT_53}",
    X"{[17:9]_INIT_54}",
    X"{[17:9]_INIT_55}",
    X"{[17:9]_INIT_56}",
    X"{[17:9]_INIT_57}",
    X"{[17:9]_INIT_58}",
    X"{[17:9]_INIT_59}",
    X"{[17:9]_INIT_5A}",
    X"{[17:9]_INIT_5B}",
    X"{[17:9]_INIT_5C}",
    X"{[17:9]_INIT_5D}",
    X"{[17:9]_INIT_5E}",
    X"{[17:9]_INIT_5F}",
    X"{[17:9]_INIT_60}",
    X"{[17:9]_INIT_61}",
    X"{[17:9]_INIT_62}",
    X"{[17:9]_INIT_63}",
    X"{[17:9]_INIT_64}",
    X"{[17:9]_INIT_65}",
    X"{[17:9]_INIT_66}",
    X"{[17:9]_INIT_67}",
    X"{[17:9]_INIT_68}",
    X"{[17:9]_INIT_69}",
    X"{[17:9]_INIT_6A}",
    X"{[17:9]_INIT_6B}",
    X"{[17:9]_INIT_6C}",
    X"{[17:9]_INIT_6D}",
    X"{[17:9]_INIT_6E}",
    X"{[17:9]_INIT_6F}",
    X"{[17:9]_INIT_70}",
    X"{[17:9]_INIT_71}",
    X"{[17:9]_INIT_72}",
    X"{[17:9]_INIT_73}",
    X"{[17:9]_INIT_74}",
    X"{[17:9]_INIT_75}",
    X"{[17:9]_INIT_76}",
    X"{[17:9]_INIT_77}",
    X"{[17:9]_INIT_78}",
    X"{[17:9]_INIT_79}",
    X"{[17:9]_INIT_7A}",
    X"{[17:9]_INIT_7B}",
    X"{[17:9]_INIT_7C}",
    X"{[17:9]_INIT_7D}",
    X"{[17:9]_INIT_7E}",
    X"{[17:9]_INIT_7F}");

  constant high_parity : parity_rows := (
    X"{[17:9]_INITP_00}",
    X"{[17:9]_INITP_01}",
    X"{[17:9]_INITP_02}",
    X"{[17:9]_INITP_03}",
    X"{[17:9]_INITP_04}",
    X"{[17:9]_INITP_05}",
    X"{[17:9]_INITP_06}",
    X"{[17:9]_INITP_07}",
    X"{[17:9]_INITP_08}",
    X"{[17:9]_INITP_09}",
    X"{[17:9]_INITP_0A}",
    X"{[17:9]_INITP_0B}",
    X"{[17:9]_INITP_0C}",
    X"{[17:9]_INITP_0D}",
    X"{[17:9]_INITP_0E}",
    X"{[17:9]_INITP_0F}");

  type rom_type is array (0 to 4095) of std_logic_vector(17 downto 0);

  -- Word a: its byte of row a / 32 and its parity bit of row a / 256, in
  -- each half.
  function build_rom return rom_type is
    variable result : rom_type;
    variable byte   : natural;
  begin
    for a in 0 to 4095 loop
      byte := 8 * (a mod 32);
      result(a)(7 downto 0)  := to_stdlogicvector(low_init(a / 32)(byte + 7 downto byte));
      result(a)(8)           := to_stdulogic(low_parity(a / 256)(a mod 256));
      result(a)(16 downto 9) := to_stdlogicvector(high_init(a / 32)(byte + 7 downto byte));
      result(a)(17)          := to_stdulogic(high_parity(a / 256)(a mod 256));
    end loop;
    return result;
  end function build_rom;

  constant program : rom_type := build_rom;

begin

  read : process (clk)
  begin
    if rising_edge(clk) then
      if enable = '1' then
        instruction <= program(to_integer(unsigned(address)));
      end if;
    end if;
  end process read;

end architecture rom;
