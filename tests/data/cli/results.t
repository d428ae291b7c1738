# korvo sim and korvo asm: the result files of a run, the values that reach
# its ports, and what a bad command line says.
--- echo.psm
sw      DSIN  $01
leds    DSOUT $02
loop:   IN    s0, sw
        OUT   s0, leds
        JUMP  loop
--- stim.psm
sw      DSIN  $01, "in.txt"
leds    DSOUT $02
loop:   IN    s0, sw
        OUT   s0, leds
        JUMP  loop
--- one
1

# A command line that turns out bad leaves the results of the last run as
# they were; a result replaces its file only when written whole.
$ korvo sim --core 3 --max-instructions 9 --json r.json --vcd r.vcd --coverage r.info echo.psm >o && cp r.json r0.json && cp r.vcd r0.vcd && cp r.info r0.info
$ korvo sim --core 3 --json r.json --vcd r.vcd --coverage r.info --in 2=1 echo.psm >o; echo $?; korvo sim --core 3 --json r.json --vcd r.vcd --coverage r.info --uart-tcp echo.psm >o; echo $?; cmp r.json r0.json && cmp r.vcd r0.vcd && cmp r.info r0.info && test -z "$(ls -a | grep korvo-)"
2
2
2> korvo sim: --in: port $02 is not an input or bidirectional port; try 'korvo sim --help'
2> korvo sim: --uart-tcp: the program declares no UART; try 'korvo sim --help'

# A result never replaces the source, its included files or another input.
$ cp echo.psm keep.psm && korvo sim --json echo.psm echo.psm >o; korvo sim --core 3 --vcd one --expect-out 2=one echo.psm >o; korvo sim --core 3 --coverage in.txt stim.psm >o; korvo sim --core 3 --json x --vcd ./x echo.psm >o; cmp echo.psm keep.psm && head -1 one
1
2> korvo sim: --json: "echo.psm" is the source file; try 'korvo sim --help'
2> korvo sim: --vcd: "one" is an --expect-out file; try 'korvo sim --help'
2> korvo sim: --coverage: "in.txt" is a stimulus file; try 'korvo sim --help'
2> korvo sim: --vcd and --json name the same file; try 'korvo sim --help'
--- main.psm
INCL "defs.inc"
LOAD s0, 1
--- defs.inc
x EQU 1
$ cp defs.inc defs.keep && korvo asm --listing echo.psm echo.psm; korvo asm --words defs.inc main.psm >o; korvo asm --words - --listing - main.psm; cmp defs.inc defs.keep && cmp echo.psm keep.psm
2> korvo asm: --listing: "echo.psm" is the source file; try 'korvo asm --help'
2> korvo asm: --words: "defs.inc" is an input of the source; try 'korvo asm --help'
2> korvo asm: --listing - and --words - cannot both have standard output; try 'korvo asm --help'

# --vcd - and --coverage - write to standard output, the text going to
# standard error; one stream takes one result. Three instructions run: IN,
# OUT and JUMP, one each.
$ korvo sim --core 3 --max-instructions 3 --coverage - echo.psm 2>/dev/null
TN:
SF:$DIR/echo.psm
DA:3,1
DA:4,1
DA:5,1
LF:3
LH:3
end_of_record
$ korvo sim --core 3 --max-instructions 3 --vcd - echo.psm 2>/dev/null | grep -c enddefinitions
1
$ korvo sim --core 3 --json - --vcd - echo.psm
2> korvo sim: --json - and --vcd - cannot both have standard output; try 'korvo sim --help'
[2]

# Port values are bytes: a value out of 0 to 255 from --in or an
# --expect-out file is a bad command line; a stimulus line out of range is
# reported with its place, like one that is not a number, and the port keeps
# its value (reads: 1, then 1 twice for the bad lines, then 2).
$ korvo sim --core 3 --in 1=256 echo.psm
2> korvo sim: --in takes PORT=VALUE, each 0 to 255, $00 to $FF or 0x00 to 0xFF, not '1=256'; try 'korvo sim --help'
[2]
$ printf '1\n-1\n' > neg && korvo sim --core 3 --expect-out 2=neg echo.psm
2> korvo sim: --expect-out: neg:2: -1 is not a value from 0 to 255; try 'korvo sim --help'
[2]
$ printf '1\n$1FF\n-1\n2\n' > in.txt && korvo sim --core 3 --trace --max-instructions 12 stim.psm | grep '^R'
R 01 01
R 01 01
R 01 01
R 01 02
2> in.txt:2: error: $1FF is not a value from 0 to 255
2> in.txt:3: error: -1 is not a value from 0 to 255
[4]

# A stimulus file that cannot be read is one failure (4) and the port reads
# its switches.
$ rm in.txt && korvo sim --core 3 --max-instructions 3 --in 1=7 stim.psm | grep -e Failure -e s0=
Failure: Cannot open file "in.txt"* (glob)
s0=$07 * (glob)
2> stim.psm: error: Cannot open file "in.txt"* (glob)
[4]

# After a refused access the report, the JSON and the waveform show the
# state at the failing instruction: one instruction done, PC at the IN.
--- io.psm
LOAD s0, 1
IN s0, $0A
$ korvo sim --core 3 --json - io.psm 2>/dev/null | python3 -c 'import json, sys; d = json.load(sys.stdin); print(d["instructions"], d["pc"], d["registers"][0])'
1 1 1
[3]
$ korvo sim --core 3 io.psm | grep -e Instructions -e PC -e s0=
 Instructions: 1
 PC: $001
s0=$01 * (glob)
[3]

# Ports the source does not declare (a KCPSM program declares none) are
# plain inputs and outputs when the command line names them.
--- kcpsm.psm
loop:   IN    s0, $07
        OUT   s0, $08
        JUMP  loop
$ printf '5\n5\n' > five && korvo sim --core 3 --in 7=5 --expect-out 8=five --max-instructions 6 kcpsm.psm | grep s0=
s0=$05 * (glob)
$ printf '5\n6\n' > five6 && korvo sim --core 3 --in 7=5 --expect-out 8=five6 kcpsm.psm >o
2> korvo sim: kcpsm.psm:2: error: port $08 got $05, five6:2 expects $06 after 5 instructions
[6]

# A result file that cannot be written is an output failure, as any other.
$ korvo sim --core 3 --max-instructions 3 --json no/such/r.json echo.psm >o
2> korvo sim: Cannot create file "no/such/r.json"* (glob)
[4]

# --uart-wait with its port taken by another program: the port is an output
# that failed.
$ python3 -c 'import socket, subprocess, sys; s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(); open("u.psm", "w").write("serial UART $04, %d\nloop: JUMP loop\n" % s.getsockname()[1]); sys.exit(subprocess.call(["korvo", "sim", "--core", "3", "--uart-tcp", "--uart-wait", "u.psm"], stdout=open("o", "w")))'
2> u.psm: error: UART $04 cannot listen on 127.0.0.1:* (glob)
2> korvo sim: --uart-wait: no UART port could be served
[4]

# A usage error is one line that says what is wrong; usage lines fit in 80
# columns.
$ korvo sim --fast echo.psm
2> korvo sim: unknown option --fast; try 'korvo sim --help'
[2]
$ korvo asm --settings none.ini echo.psm; korvo sim --settings . echo.psm
2> korvo asm: --settings: "none.ini" does not exist; try 'korvo asm --help'
2> korvo sim: --settings: "." is not a file; try 'korvo sim --help'
[2]
$ (korvo --help; for c in asm sim format import; do korvo $c --help; done) | awk 'length > 80'

# --listing - keeps standard output for the listing: the log goes to
# standard error.
$ korvo asm --listing - main.psm 2>/dev/null | wc -l
2

# A KCPSM6 INCLUDE file that is missing is reported where the INCLUDE
# stands; a .hex file of one line is "1 line".
--- k6.psm
INCLUDE "none.psm"
LOAD s0, 01
--- one.hex
00000
$ korvo import --kcpsm6 -o out.psm k6.psm; korvo import --check one.hex k6.psm
2> korvo import: k6.psm:1: Cannot open file "none.psm". No such file or directory
2> korvo import: "one.hex" is not a KCPSM .hex file: 1 line, not 1024 or 4096
[2]

# An error in an included file is logged as the source's own errors are:
# its sentence, without the assembler's kind word.
--- outer.psm
INCL "inner.psm"
--- inner.psm
INCL "defs.inc"
LOAD s0, 1
$ korvo asm outer.psm | grep Include
?Include file:'inner.psm', line 2: An included file holds declarations only* (glob)
2> inner.psm:2: error: An included file holds declarations only* (glob)
[1]
