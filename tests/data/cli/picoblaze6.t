# PicoBlaze 6 on the command line: its build options, the words file, both
# register banks in the end state and the KCPSM6 import.

# The words file covers the whole code space, one word a line; DEFJUMP fills
# every word the program leaves with a JUMP to its address.
--- p.psm
LOAD s0, 1
DEFJUMP 0
--- p2.psm
LOAD s00, 1
DEFJUMP 0
--- words.sh
korvo asm "$@" > phases.txt && head -1 w.hex && sort w.hex | uniq -c | sort -n
$ sh words.sh --core 6 --words w.hex p.psm
01001\r
      1 01001\r
   4095 22000\r
$ sh words.sh --core 6 --program-size 1K --words w.hex p.psm
01001\r
      1 01001\r
   1023 22000\r
$ sh words.sh --core 6 --program-size 2048 --words w.hex p.psm
01001\r
      1 01001\r
   2047 22000\r
$ sh words.sh --core 3 --words w.hex p.psm
00001\r
      1 00001\r
   1023 34000\r
$ sh words.sh --core II --words w.hex p2.psm
00001\r
      1 00001\r
   1023 34000\r
$ sh words.sh --core I --words w.hex p.psm
0001\r
      1 0001\r
    255 8100\r
$ sh words.sh --core CR --words w.hex p.psm
0001\r
      1 0001\r
    255 D000\r
# On standard output the words stay alone; the log goes to standard error.
$ korvo asm --core 6 --words - p.psm | sort | uniq -c | sort -n
      1 01001
   4095 22000
2> Assembler Phase 1: building symbol table
2> Assembler Phase 2: constructing opcodes
2> Assembler Phase 3: building simulation objects
$ korvo asm --core 6 --words no/w.hex p.psm
...
2> korvo asm: * (glob)
[4]

# The program size limits the code space, from the option or the settings.
--- far.psm
JUMP $7FF
$ korvo asm --core 6 --program-size 1k far.psm
...
2> far.psm:1: error: Jump can not go that far
[1]
$ printf '[PicoBlaze6]\nProgramSize=2048\n' > settings.ini && korvo asm --core 6 --listing - far.psm 2>/dev/null | grep 7FF
*$000 $227FF* (glob)
$ : > settings.ini
$ korvo asm --core 3 --program-size 1K far.psm
2> korvo asm: * (glob)
[2]
$ korvo asm --core 6 --program-size 3K far.psm
2> korvo asm: * (glob)
[2]

# Both banks, the HWBUILD value and the constant ports in a trace; the end
# state shows bank A, bank B and the active bank.
--- six.psm
        LOAD s0, $11
        STAR s0, $22
        BANKB
        HWBUILD s1
        OUTK $5A, 3
        RETL s2, $33
$ korvo sim --core 6 --hwbuild '$42' --trace six.psm
...
I 000 01011
I 001 17022
I 002 37001
I 003 14180
I 004 2B5A3
K 03 5A
?Stack underflow occurred.
 Instructions: 5
...
A: s0=$11 s1=$00 s2=$00 s3=$00 s4=$00 s5=$00 s6=$00 s7=$00 s8=$00 s9=$00 sA=$00 sB=$00 sC=$00 sD=$00 sE=$00 sF=$00
B: s0=$22 s1=$42 s2=$33 s3=$00 s4=$00 s5=$00 s6=$00 s7=$00 s8=$00 s9=$00 sA=$00 sB=$00 sC=$00 sD=$00 sE=$00 sF=$00
Z=0 C=1 IE=0 Bank=B
[3]

# An interrupt raised after N instructions is taken in place of instruction
# N + 1 on every core, as the vendor's gate-level cores take it (kcpsm6.vhd
# under GHDL, kcpsm3.v under Icarus, with the line up from instruction N on):
# --interrupt-at 3 enters the routine after the ADD at 2; --interrupt-every 3
# again after 6 and 9 instructions, the routine counting among them.
--- irq.psm
        EINT
        ADD   s0, 1
        ADD   s0, 1
        ADD   s0, 1
idle:   JUMP  idle
        ORG   $3FF
        RETI  ENABLE
$ korvo sim --core 6 --interrupt-at 3 --max-instructions 6 --trace irq.psm | grep '^I'
I 000 28001
I 001 11001
I 002 11001
I 3FF 29001
I 003 11001
I 004 22004
$ korvo sim --core 3 --interrupt-at 3 --max-instructions 6 --trace irq.psm | grep '^I'
I 000 3C001
I 001 18001
I 002 18001
I 3FF 38001
I 003 18001
I 004 34004
$ korvo sim --core 6 --interrupt-every 3 --max-instructions 9 --trace irq.psm | grep '^I' | paste -sd' '
I 000 28001 I 001 11001 I 002 11001 I 3FF 29001 I 003 11001 I 004 22004 I 3FF 29001 I 004 22004 I 004 22004

# The instruction at the last address completes, its port write and trace
# line included, and counts; then the run stops just past the code space.
--- end.psm
leds    DSOUT $07
        LOAD  s0, $5A
        JUMP  last
        ORG   $FFF
last:   OUT   s0, leds
$ korvo sim --core 6 --trace end.psm | grep -v '^[A-Z]: \|^Z=\|^Frequency\|Time'
...
I 000 0105A
I 001 22FFF
I FFF 2D007
W 07 5A
?Tried to run outside code space.
 Instructions: 3
 PC: $1000
...
[3]
--- end1k.psm
leds    DSOUT $07
        LOAD  s0, $A5
        JUMP  last
        ORG   $3FF
last:   OUT   s0, leds
$ korvo sim --core 6 --program-size 1K --trace end1k.psm | grep -v '^[A-Z]: \|^Z=\|^Frequency\|Time'
...
I 000 010A5
I 001 223FF
I 3FF 2D007
W 07 A5
?Tried to run outside code space.
 Instructions: 3
 PC: $400
...
[3]

# The examples run to the states their comments promise.
$ korvo sim --core 6 --interrupt-at 100 --interrupt-at 5000 --interrupt-at 9000 "$EXAMPLES/bank_interrupt_pbt6.psm" | tail -3
A: s0=$10 s1=$00 s2=$00 s3=$00 s4=$00 s5=$00 s6=$00 s7=$03 s8=$00 s9=$00 sA=$00 sB=$00 sC=$00 sD=$00 sE=$00 sF=$00
B: s0=$03 s1=$00 s2=$00 s3=$00 s4=$00 s5=$00 s6=$00 s7=$00 s8=$00 s9=$00 sA=$00 sB=$00 sC=$00 sD=$00 sE=$00 sF=$00
Z=0 C=0 IE=1 Bank=A
$ korvo sim --core 6 "$EXAMPLES/outk_string_pbt6.psm" | tail -3
A: s0=$A0 s1=$00 s2=$00 s3=$00 s4=$00 s5=$00 s6=$00 s7=$00 s8=$00 s9=$00 sA=$00 sB=$00 sC=$00 sD=$00 sE=$00 sF=$00
B: s0=$00 s1=$00 s2=$00 s3=$00 s4=$00 s5=$00 s6=$00 s7=$00 s8=$00 s9=$00 sA=$00 sB=$00 sC=$00 sD=$00 sE=$00 sF=$00
Z=0 C=0 IE=0 Bank=A
$ korvo sim --core 6 --in 0=1 "$EXAMPLES/jump_table_pbt6.psm" | tail -3
A: s0=$01 s1=$85 s2=$00 s3=$00 s4=$00 s5=$00 s6=$00 s7=$00 s8=$01 s9=$00 sA=$00 sB=$00 sC=$00 sD=$00 sE=$00 sF=$00
B: s0=$00 s1=$00 s2=$00 s3=$00 s4=$00 s5=$00 s6=$00 s7=$00 s8=$00 s9=$00 sA=$00 sB=$00 sC=$00 sD=$00 sE=$00 sF=$00
Z=0 C=0 IE=0 Bank=A

# Build options of the wrong core or beyond the hardware are usage errors.
--- loop.psm
loop: JUMP loop
$ korvo sim --core 3 --hwbuild 1 loop.psm
2> *--hwbuild is not an option of the core 3* (glob)
[2]
$ korvo sim --core 6 --hwbuild '$100' loop.psm
2> *--hwbuild takes* (glob)
[2]
$ korvo sim --core 6 --program-size 1K --interrupt-vector '$7FF' loop.psm
2> *beyond a program of 1K* (glob)
[2]
$ korvo sim --core 6 --scratchpad 32 loop.psm
2> *64, 128 or 256* (glob)
[2]

# KCPSM6 programs of more than 100 lines each, with INCLUDE files, STRING,
# TABLE, DEFAULT_JUMP and every instruction (selftest.psm): the converted
# source assembles to the 4096 words that the small model kcpsm6_words.py
# derives from the language.
$ for p in terminal calculator dispatcher; do korvo import --check "$DATA/text/kcpsm6/$p.hex" "$DATA/text/kcpsm6/$p.psm"; done
all 4096 words agree with $DATA/text/kcpsm6/terminal.hex
all 4096 words agree with $DATA/text/kcpsm6/calculator.hex
all 4096 words agree with $DATA/text/kcpsm6/dispatcher.hex
2> korvo import: renamed constant prompt -> prompt_1
2> korvo import: renamed constant result -> result_1
2> korvo import: renamed constant RESULT -> RESULT_2

# A difference names the line it came from, in the source or in an included
# file.
$ cp "$DATA"/text/kcpsm6/*.psm . && sed '0,/^21F30/s//21F31/; 0,/^09F00/s//09F01/' "$DATA/text/kcpsm6/terminal.hex" > bad.hex && korvo import --check bad.hex terminal.psm
address 06E: KCPSM 21F31, converted 21F30, line 114: digit_table:  LOAD&RETURN temp, hex_digits#
address 09F: KCPSM 09F01, converted 09F00, uart_io.psm line 4
2> korvo import: renamed constant prompt -> prompt_1
2> korvo import: 2 of 4096 words differ from bad.hex
[1]

# --kcpsm6 reads a source without KCPSM6-only syntax as KCPSM6: ADDRESS goes
# up to FFF.
--- plain.psm
ADDRESS 7FF
JUMP 7FF
$ korvo import plain.psm | grep 7FF
*ORG       7FF* (glob)
*JUMP      7FF* (glob)
$ korvo import --kcpsm6 plain.psm | grep 7FF
*ORG       $7FF* (glob)
*JUMP      $7FF* (glob)
