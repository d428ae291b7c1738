# korvo asm writes the output files and starts the EXEC command as the IDE
# does; korvo sim assembles the same way. The settings hold a JTAG chain.
--- settings.ini
[SVF]
Before\Count=0
After\Count=0
Target\Chip=Spartan-3
Target\IRLength=6
Target\ID=01414093
Target\IDCODE=0009
Target\USER1=0002
Target\AddressWidth=18
Target\DataWidth=16
Target\AddressFirst=0
--- rom.vhd
{begin template}
entity {name} -- {pico} {INIT_00}
--- project.sh
printf 'COE "p.coe"\nMEM "p.mem"\nVHDL "rom.vhd", "p.vhd"\nHEX "p.hex"\nSVF "p.svf"\nEXEC "%s"\nstart: LOAD s0, 1\nJUMP start\n' "$1" > p.psm
--- wait.sh
for i in $(seq 200); do test -e "$1" && exit 0; sleep 0.1; done; exit 1

# Every file, then the command.
$ sh project.sh "cp $PWD/p.hex $PWD/copy.hex" && korvo asm --core 3 $PWD/p.psm
Assembler Phase 1: building symbol table
Assembler Phase 2: constructing opcodes
Assembler Phase 3: building simulation objects
!Assembler saving to COEF Target: "$DIR/p.coe"
Assembler saving to MEM file: "$DIR/p.mem"
Assembler reading VHDL skeleton: "$DIR/rom.vhd"
Assembler saving to VHDL target: "$DIR/p.vhd"
Assembler saving to HEX Target: "$DIR/p.hex"
Assembler saving to SVF Target: "$DIR/p.svf"
!Executing: 'cp $DIR/p.hex $DIR/copy.hex'
# LOAD s0, 1 and JUMP 0 are 00001 and 34000 on PicoBlaze 3; data first, the
# address goes above the 18 bits of the word.
$ sh wait.sh copy.hex && cmp p.hex copy.hex && cat p.vhd && grep -A1 'SDR 34 TDI (000000001)' p.svf
entity p -- pbt3 0000000000000000000000000000000000000000000000000000000040000001\r
SDR 34 TDI (000000001) ;\r
SDR 34 TDI (000074000) ;\r

# --no-exec skips the command only, in korvo asm and korvo sim.
$ sh project.sh "touch $PWD/ran" && rm p.svf && korvo asm --no-exec p.psm | tail -1 && test -e p.svf && test ! -e ran
Assembler saving to SVF Target: "p.svf"
$ korvo sim --no-exec --max-instructions 10 p.psm | grep -c Executing
0
[1]
$ korvo sim --max-instructions 10 p.psm | grep Executing && sh wait.sh ran
!Executing: 'touch $DIR/ran'

# A command that cannot start: the program still assembled, an output
# failed (4).
$ sh project.sh "korvo-no-such-program now" && korvo asm p.psm | tail -1
Failure: Can not execute: 'korvo-no-such-program now'; reason: 'No such file or directory'
2> p.psm: error: Can not execute: 'korvo-no-such-program now'; reason: 'No such file or directory'
[4]

# Without readable JTAG settings the SVF file is not written and the run
# ends there: the command does not start.
$ printf '[SVF]\nTarget\\Chip=Spartan-3\nTarget\\AddressWidth=x\n' > settings.ini && rm p.svf && sh project.sh "touch $PWD/never-run" && korvo asm p.psm | tail -2; s=$?; test ! -e p.svf && test ! -e never-run && exit $s
Assembler saving to HEX Target: "p.hex"
Failure: Invalid data type for 'AddressWidth'; SVF info not set, SVF generation aborted
...
[4]

# A template that cannot be read fails the run after the passes succeeded:
# no other core is proposed, since the source is good for this one.
$ rm rom.vhd && mkdir rom.vhd && sh project.sh "" && korvo asm p.psm 2>err >o; s=$?; grep -c note: err; test $s -ne 0
0
