# korvo asm: the phases on standard output, errors in compiler form on
# standard error; 1 when the source has errors, 2 for bad usage.
$ korvo --version
Korvo IDE $VERSION
$ korvo frobnicate
2> *unknown command 'frobnicate'* (glob)
[2]
$ korvo
...
[2]
$ printf 'start: LOAD s0, 1\r\n  JUMP start\r\n' > good.psm && korvo asm good.psm
Assembler Phase 1: building symbol table
Assembler Phase 2: constructing opcodes
Assembler Phase 3: building simulation objects
--- bad.psm
LOAD s0, 1
JUMP nowhere
ORG 300 ; x
$ korvo asm bad.psm
Assembler Phase 1: building symbol table
Line 3: ? > $0FF
2> bad.psm:3: error: Address above $0FF, the last code address
[1]
--- bad2.psm
LOAD s0, 1
JUMP nowhere
LOAD s9, 300
$ korvo asm --core CR bad2.psm
Assembler Phase 1: building symbol table
Assembler Phase 2: constructing opcodes
Line 2: An undefined identifier found.
Line 3: This processor core doesn't have this register: s9
2> bad2.psm:2: error: An undefined identifier found.
2> bad2.psm:3: error: This processor core doesn't have this register: s9
[1]

# Errors in included files name that file.
--- defs.inc
ok EQU 1

bad EQU missing
--- main.psm
INCL "defs.inc"
LOAD s0, ok
$ korvo asm main.psm
Assembler Phase 1: building symbol table
?Include file:'defs.inc', line 3: An undefined identifier found.
2> defs.inc:3: error: An undefined identifier found.
[1]

# The listing goes to standard output or a file (CR LF lines).
--- p.psm
; hello
LOAD s0, 1
x EQU 5
$ korvo asm --core 3 --listing - p.psm 2>/dev/null

$000 $00001
$05
$ korvo asm --listing p.lst p.psm && cat p.lst
Assembler Phase 1: building symbol table
Assembler Phase 2: constructing opcodes
Assembler Phase 3: building simulation objects
\r
$00 $0001\r
$05\r
$ printf 'LOAD s0, 1\nfoo\n' > b.psm && korvo asm --listing - b.psm
$00 $0001
?Colon
2> Assembler Phase 1: building symbol table
2> Assembler Phase 2: constructing opcodes
2> Line 2: Label without colon or an unknown opcode.
2> b.psm:2: error: Label without colon or an unknown opcode.
[1]

# The core comes from --core, then the settings, then the default (I).
--- p.psm
LOAD s1, s2
$ korvo asm --listing - p.psm 2>/dev/null | tail -1
$00 $C120
$ printf '[Options]\nKorvo=3\n' > s.ini && korvo asm --settings s.ini --listing - p.psm 2>/dev/null | tail -1
$000 $01120
$ printf '[Options]\nKorvo=4\n' > s.ini && korvo asm --settings s.ini --listing - p.psm 2>/dev/null | tail -1
$00 $4140
$ korvo asm --settings s.ini --core 3 --listing - p.psm 2>/dev/null | tail -1
$000 $01120
$ printf '[Options]\nKorvo=9\n' > s.ini && korvo asm --settings s.ini --listing - p.psm 2>/dev/null | tail -1
$00 $C120
$ korvo asm --core cr --listing - p.psm 2>/dev/null | tail -1
$00 $4140
$ korvo asm --core=1 --listing - p.psm 2>/dev/null | tail -1
$00 $C120
# A source that is good for other cores names the first.
$ printf '[Options]\nKorvo=2\n' > settings.ini && korvo asm p.psm
...
2> p.psm:1: error: s1 is not a register
2> korvo asm: note: p.psm assembles without errors for Picoblaze-I (--core I)
[1]
$ echo 'LOAD s1F, 1' > w.psm && KORVO_SETTINGS=none.ini korvo asm w.psm
...
2> w.psm:1: error: s1F is not a register
2> korvo asm: note: w.psm assembles without errors for Picoblaze-II (--core II)
[1]
$ : > settings.ini

# Bad usage is one line and status 2.
$ korvo asm
2> korvo asm: * (glob)
[2]
$ korvo asm p.psm p.psm
2> korvo asm: * (glob)
[2]
$ korvo asm --frobnicate p.psm
2> korvo asm: * (glob)
[2]
$ korvo asm --core 7 p.psm
2> korvo asm: * (glob)
[2]
$ korvo asm p.psm --listing
2> korvo asm: * (glob)
[2]
$ korvo asm missing.psm
2> korvo asm: * (glob)
[2]
$ korvo asm .
2> korvo asm: * (glob)
[2]
$ korvo asm --no-exec=1 p.psm
2> korvo asm: * (glob)
[2]
$ korvo asm -- --help
2> korvo asm: * (glob)
[2]
# After -- every word is a file.
$ cp p.psm ./-p.psm && korvo asm -- -p.psm
Assembler Phase 1: building symbol table
Assembler Phase 2: constructing opcodes
Assembler Phase 3: building simulation objects

# An example assembles.
$ korvo asm --core 3 --listing - $EXAMPLES/blink.psm 2>/dev/null
...
$003 $30005
$004 $34001
...
