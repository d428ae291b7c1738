# korvo sim: assemble, run, report; the examples run to their known states.
$ korvo sim --core 3 $EXAMPLES/fibonacci_pbt3.psm
Assembler Phase 1: building symbol table
Assembler Phase 2: constructing opcodes
Assembler Phase 3: building simulation objects
!Program is Reset
!Program is Started
!Program is Paused
 Instructions: 1000000
 Time : 25ms
...
s0=$0D s1=$79 s2=$E9 s3=$E9 s4=$61 s5=$02 s6=$0D s7=$E9 s8=$00 s9=$00 sA=$00 sB=$00 sC=$00 sD=$00 sE=$00 sF=$00
Z=1 C=0 IE=0
$ korvo sim --core I --in 0=200 --in '$01=$2D' $EXAMPLES/multiply_pbti.psm | tail -8
!Program is Paused
 Instructions: 1000000
 Time : 25ms
...
s0=$C8 s1=$00 s2=$00 s3=$C8 s4=$00 s5=$00 s6=$00 s7=$00 s8=$00 s9=$00 sA=$23 sB=$28 sC=$00 sD=$00 sE=$00 sF=$00
Z=1 C=0 IE=0
$ korvo sim --core II $EXAMPLES/sort_pbtii.psm | tail -2
s00=$E1 s01=$FF s02=$00 s03=$00 s04=$00 s05=$00 s06=$00 s07=$00 s08=$00 s09=$00 s0A=$00 s0B=$00 s0C=$00 s0D=$00 s0E=$00 s0F=$00 s10=$1F s11=$1F s12=$00 s13=$FF s14=$00 s15=$00 s16=$00 s17=$00 s18=$00 s19=$00 s1A=$00 s1B=$00 s1C=$00 s1D=$00 s1E=$00 s1F=$00
Z=1 C=0 IE=0
$ korvo sim --core CR --interrupt-at 10 --interrupt-at 40 $EXAMPLES/gcd_pbtc.psm | tail -2
s0=$15 s1=$15 s2=$00 s3=$00 s4=$00 s5=$00 s6=$00 s7=$02
Z=1 C=0 IE=1
$ korvo sim --core CR --max-instructions 100 $EXAMPLES/gcd_pbtc.psm | tail -7
 Instructions: 100
 Time : 2500ns
 PC: $0F
 SP: 0 ( $00 )
 Stack:
s0=$15 s1=$15 s2=$00 s3=$00 s4=$00 s5=$00 s6=$00 s7=$00
Z=1 C=0 IE=1

# The trace shows the instructions and their accesses.
--- trace.psm
sw      DSIN $05
leds    DSOUT $06
cells   DSRAM $10
        IN    s0, sw
        OUT   s0, leds
        STORE s0, $02
        FETCH s1, $02
        OUT   s1, cells
        RET
$ korvo sim --core 3 --trace --in '5=$3C' trace.psm
Assembler Phase 1: building symbol table
Assembler Phase 2: constructing opcodes
Assembler Phase 3: building simulation objects
!Program is Reset
!Program is Started
I 000 04005
R 05 3C
I 001 2C006
W 06 3C
I 002 2E002
S 02 3C
I 003 06102
F 02 3C
I 004 2C110
W 10 3C
?Stack underflow occurred.
...
 Time : 125ns
 PC: * (glob)
 SP: ??
...
[3]

# Exit statuses: 0 at the limit, 3 halted, 1 when the assembly fails, 2 for
# bad usage.
--- good.psm
loop: JUMP loop
--- bad.psm
LOAD s0, 1
JUMP nowhere
--- halts.psm
IN s0, $0A
$ korvo sim --max-instructions 5 good.psm >o && korvo sim --max-instructions 0 good.psm >o
$ korvo sim --core I halts.psm >o
...
[3]
$ korvo sim bad.psm >o
2> bad.psm:2: error: * (glob)
...
[1]
$ korvo sim >o
2> *no source file given* (glob)
[2]
$ korvo sim --settings settings.ini >o
2> *no source file given* (glob)
[2]
$ korvo sim good.psm good.psm >o
2> *only one source file* (glob)
[2]
$ korvo sim none.psm >o
2> *none.psm* (glob)
[2]
$ korvo sim --fast good.psm >o
2> *unknown option --fast* (glob)
[2]
$ korvo sim --core X good.psm >o
2> *unknown core* (glob)
[2]
$ korvo sim --max-instructions -1 good.psm >o
2> *--max-instructions* (glob)
[2]
$ korvo sim --max-instructions lots good.psm >o
2> *--max-instructions* (glob)
[2]
$ korvo sim --scratchpad 48 good.psm >o
2> *--scratchpad* (glob)
[2]
$ korvo sim --in 300=1 good.psm >o
2> *--in* (glob)
[2]
$ korvo sim --in 5 good.psm >o
2> *--in* (glob)
[2]
$ korvo sim --interrupt-at x good.psm >o
2> *--interrupt-at* (glob)
[2]
$ korvo sim --core 3 --in 6=1 trace.psm >o
2> *port $06 is not an input* (glob)
[2]

# An access error is logged as the pane would show it.
$ printf 'LOAD s0, 1\nIN s0, $0A\n' > io.psm && korvo sim --core 3 io.psm
Assembler Phase 1: building symbol table
Assembler Phase 2: constructing opcodes
Assembler Phase 3: building simulation objects
!Program is Reset
!Program is Started
Attempt to read from non-mapped input at: $00A; Program Counter: $01
?IO error: IN, OUT, FETCH or STORE outside IO or ScratchPad.
 Instructions: 1
...
[3]

# Stimulus and log files; --in is the switches' value: the stimulus file
# still comes first. Reads: 3, 16, 16 (the bad line keeps the value), 16.
--- files.psm
sw    DSIN $01, "in.txt"
leds  DSOUT $02, "out.txt", "%d=%.2x"
      LOAD s1, 0
loop: IN s0, sw
      ADD s1, s0
      OUT s1, leds
      JUMP loop
$ printf '3\r\n$10\r\nx\r\n' > in.txt && echo stale > out.txt && korvo sim --core 3 --max-instructions 16 --in 1=99 files.psm | tail -2 | head -1; s=$?; cat out.txt; exit $s
s0=$10 s1=$33* (glob)
3=03\r
19=13\r
35=23\r
51=33\r
2> in.txt:3: error: x is not an integer
[4]

# The settings give the frequency and the scratch pad size (16 bytes:
# offset $10 is refused); --scratchpad replaces the size.
--- pad.psm
LOAD s0, $0F
STORE s0, (s0)
ADD s0, 1
STORE s0, (s0)
$ printf '[Time]\nFrequency=40\n\n[ScratchPad]\nSize=1\n' > settings.ini && korvo sim --core 3 pad.psm | grep Attempt
Attempt to write to Scratch Pad at: $010; Program Counter: $03
[3]
$ korvo sim --core 3 --scratchpad 32 --max-instructions 3 pad.psm | grep Time
 Time : 150ns
$ : > settings.ini
