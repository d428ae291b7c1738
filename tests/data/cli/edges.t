# The korvo executable where it meets real files and shells: listings into
# pipes, files and FIFOs, files it may not read or write (as an ordinary
# user: $AS), read errors, outputs over inputs, and the exit statuses that
# report them.
--- p.psm
LOAD s0, 1
$ korvo asm --listing - p.psm | cat
$00 $0001
2> Assembler Phase 1: building symbol table
2> Assembler Phase 2: constructing opcodes
2> Assembler Phase 3: building simulation objects
$ korvo asm --listing /dev/stdout p.psm | cat
Assembler Phase 1: building symbol table
Assembler Phase 2: constructing opcodes
Assembler Phase 3: building simulation objects
$00 $0001\r
$ korvo asm --listing - p.psm >o.txt; s=$?; cat o.txt; exit $s
$00 $0001
2> Assembler Phase 1: building symbol table
2> Assembler Phase 2: constructing opcodes
2> Assembler Phase 3: building simulation objects
$ korvo asm --listing /dev/stdout p.psm >o.txt; s=$?; cat o.txt; exit $s
Assembler Phase 1: building symbol table
Assembler Phase 2: constructing opcodes
Assembler Phase 3: building simulation objects
$00 $0001\r
$ mkfifo f; timeout 20 cat f >got & korvo asm --listing f p.psm >log; s=$?; wait; cat got; ls -F f; exit $s
$00 $0001\r
f|
$ echo old >a && ln a b && korvo asm --listing a p.psm >log; s=$?; cat b; stat -c %h a; exit $s
$00 $0001\r
2
$ ln -s made l && korvo asm --listing l p.psm >log; s=$?; cat made; test -L l && exit $s
$00 $0001\r
$ n=$(printf %0255d 0) && korvo asm --listing $n p.psm >log; s=$?; cat $n; exit $s
$00 $0001\r
$ korvo asm /dev/zero
2> korvo asm: Cannot read file "/dev/zero". It is larger than 64 MiB
[2]
$ echo 'rom BROM 5, 16, "/dev/zero"' > d.psm && korvo asm d.psm | grep Failure
Failure: in BRAM 'rom' init: Cannot read file "/dev/zero". It is a device* (glob)
2> d.psm: error: in BRAM 'rom' init: * (glob)
[4]
$ printf 'DSOUT 1, "s.log", "a%%d"\nDSOUT 2, "s.log", "b%%d"\nLOAD s0, 1\nOUT s0, 1\nOUT s0, 2\nOUT s0, 1\n' > s.psm && korvo sim --max-instructions 4 s.psm >o && cat s.log
a1\r
b1\r
a1\r
$ for c in asm sim format import check; do korvo $c --help | grep 'xit status' >/dev/null || exit 9; done; korvo --help | grep -c 'unless --no-exec'
1
$ mkdir ro && : >ro/l.lst && chmod 666 ro/l.lst && chmod 555 ro && $AS korvo asm --listing ro/l.lst p.psm >log; s=$?; cat ro/l.lst; ls -A ro; exit $s
$00 $0001\r
l.lst
$ : >l.lst && chmod 444 l.lst && $AS korvo asm --listing l.lst p.psm
Assembler Phase 1: building symbol table
Assembler Phase 2: constructing opcodes
Assembler Phase 3: building simulation objects
2> korvo asm: Cannot create file "l.lst". Permission denied
[4]
$ echo 'rom BROM 5, 16, "init.mem"' > i.psm && : >init.mem && chmod 000 init.mem && $AS korvo asm i.psm | grep Failure
Failure: in BRAM 'rom' init: Cannot open file "init.mem". Permission denied
2> i.psm: error: in BRAM 'rom' init: Cannot open file "init.mem". Permission denied
[4]
$ mkdir nr && cp p.psm nr && chmod 0 nr && $AS korvo asm nr/p.psm
2> korvo asm: Cannot open file "nr/p.psm". Permission denied
[2]
$ echo 'INCL "/proc/self/mem"' > m.psm && korvo asm m.psm | tail -1
Line 1: Cannot read file "/proc/self/mem". Input/output error
2> m.psm:1: error: Cannot read file "/proc/self/mem". Input/output error
[1]
$ echo 'HEX "h.psm"' > h.psm && korvo asm h.psm | tail -1; s=$?; cat h.psm; exit $s
Failure: Output not written: "h.psm" is the source file
HEX "h.psm"
2> h.psm: error: Output not written* (glob)
[4]
$ echo 'INCL "none.psm"' > n.psm && korvo asm n.psm | tail -1
Line 1: Include file not found* (glob)
2> n.psm:1: error: Include file not found: "none.psm"
[1]
$ printf 'NAMEREG s0, count\nCONSTANT max, 10\n' > k.psm && korvo asm k.psm >o.txt
...
2> *korvo import converts a KCPSM source* (glob)
...
[1]
$ printf 'DSOUT 1, "missing/x.log"\nOUT s0, 1\n' > x.psm && korvo sim --max-instructions 1 x.psm | grep Failure
Failure: Cannot create file* (glob)
...
2> x.psm: error: Cannot create file "missing/x.log"* (glob)
...
[4]
$ printf 'DSIN 1, "ff"\nLOAD s0, 1\n' > y.psm && mkfifo ff && korvo sim --max-instructions 1 y.psm | grep Failure
Failure: Cannot read file "ff". It is a FIFO, not a regular file
2> y.psm: error: Cannot read file* (glob)
[4]
