# korvo format and korvo import: CR LF lines on standard output or into a
# file; the columns and the core from the settings unless given.
$ printf 'start: load s0,$f ;go\nLoad s1, 1\r\n\r  jump start' > a.psm && korvo format a.psm
start:              LOAD      s0, $0F             ; go\r
Load s1, 1\r
\r
                    JUMP      start\r
$ korvo format -i a.psm && korvo format a.psm -i && cat a.psm
start:              LOAD      s0, $0F             ; go\r
Load s1, 1\r
\r
                    JUMP      start\r
$ : > empty.psm && korvo format empty.psm
$ printf '[Columns]\nColumn1=2\nColumn2=8\nColumn3=16\n[Options]\nKorvo=2\n' > settings.ini && echo 'add s7, sA ; x' > b.psm && korvo format b.psm && korvo format --columns 0,4,12 --core 3 b.psm && korvo format --columns=1,5,9 --core=CR b.psm
  ADD   s07, s0A; x\r
ADD s7, sA  ; x\r
 ADD s7, sA; x\r
$ : > settings.ini

# Import converts and formats.
$ printf 'CONSTANT max, FF\r\nNAMEREG s5, counter\r\nloop: ADDCY counter, 01\r\nENABLE INTERRUPT\r\nJUMP NZ, loop\r\n' > k.psm && korvo import k.psm >printed && korvo import -o converted.psm k.psm && cmp printed converted.psm && cat converted.psm
max                 EQU       $FF\r
counter             EQU       s5\r
loop:               ADDC      counter, 1\r
                    EINT      \r
                    JUMP      NZ, loop\r

# --check compares the converted words with a KCPSM3 .hex file (1024 words,
# unused ones 0). LOAD s0, 01 and ADD X, x are 00001 and 18005; a label and
# its rename come first, so the lines of the converted file are not the
# source's.
# hex.sh WORDS LAST FILE writes the words from address 0, then zeros, and
# LAST at the 1024th word.
--- hex.sh
words=$1; last=${2:-00000}; n=$(echo $words | wc -w)
{ for w in $words; do printf '%s\r\n' $w; done; for i in $(seq $((1023 - n))); do printf '00000\r\n'; done; printf '%s\r\n' $last; } > $3
$ korvo import --check $DATA/text/kcpsm/case_names.hex $DATA/text/kcpsm/case_names.psm
all 1024 words agree with $DATA/text/kcpsm/case_names.hex
...
2> korvo import: renamed constant character_A -> character_A_1
...
$ printf 'CONSTANT X, 01\nCONSTANT x, 05\nLOAD s0, X\nADD s0, x ; five\n' > k.psm && sh hex.sh "00001 18005" 00000 good.hex && korvo import --check good.hex -o out.psm k.psm && grep -q x_1 out.psm
all 1024 words agree with good.hex
2> korvo import: renamed constant x -> x_1
$ sh hex.sh "00001 18006" 34000 bad.hex && korvo import --check bad.hex k.psm
address 001: KCPSM 18006, converted 18005, line 4: ADD s0, x ; five
address 3FF: KCPSM 34000, converted 00000, no source line
...
2> korvo import: 2 of 1024 words differ from bad.hex
...
[1]
# Ten differences are shown, the count of all of them at the end.
$ sh hex.sh "00001 18005 00001 00001 00001 00001 00001 00001 00001 00001 00001 00001 00001" 00000 many.hex && korvo import --check many.hex k.psm 2>err | grep -c '^address'; s=$?; grep -c '11 of 1024 words differ' err; exit $s
10
1
[1]
# An error of the assembly names the line of the KCPSM source.
$ printf 'NAMEREG s4, c\nLOAD c, 01\nJUMP nowhere\n' > broken.psm && korvo import --check good.hex broken.psm 2>&1 | grep -c -e 'broken.psm:3: error: ' -e 'does not assemble'
2
[1]
$ korvo import --help | grep -c '\[--check KCPSM.hex\] FILE'
1
$ printf '00001\r\n' > m1.hex && korvo import --check m1.hex k.psm
...
2> *is not a KCPSM .hex file* (glob)
[2]
$ sh hex.sh "00000 00000 00000 00000 00000 4000" 00000 m2.hex && korvo import --check m2.hex k.psm
...
2> *is not a KCPSM .hex file* (glob)
[2]
$ sh hex.sh "00000 00000 00000 00000 00000 40000" 00000 m3.hex && korvo import --check m3.hex k.psm
...
2> *is not a KCPSM .hex file* (glob)
[2]

# Bad usage: one line and status 2; the file stays as it was.
$ echo 'load s0, 1' > a.psm && korvo format
2> korvo format: no FILE given; usage: korvo format* (glob)
[2]
$ korvo import
2> korvo import: no FILE given; usage: korvo import* (glob)
[2]
$ korvo format a.psm a.psm
2> korvo format: *more than one FILE* (glob)
[2]
$ korvo format missing.psm
2> korvo format: *Cannot open file* (glob)
[2]
$ korvo import missing.psm
2> korvo import: *Cannot open file* (glob)
[2]
$ korvo format -i .
2> korvo format: *Cannot open file* (glob)
[2]
$ korvo format --columns 20,30 a.psm
2> korvo format: *bad --columns '20,30'* (glob)
[2]
$ korvo format --columns 20,30,5000 a.psm
2> korvo format: *bad --columns* (glob)
[2]
$ korvo import --columns a,b,c a.psm
2> korvo import: *bad --columns* (glob)
[2]
$ korvo format --core 7 a.psm
2> korvo format: *unknown core '7'* (glob)
[2]
$ korvo format -o x a.psm
2> korvo format: *unknown option -o* (glob)
[2]
$ korvo import -i a.psm
2> korvo import: *unknown option -i* (glob)
[2]
$ korvo import a.psm -o
2> korvo import: *option -o needs a value* (glob)
[2]
$ korvo import -o no/such/dir/out.psm a.psm
2> korvo import: *Cannot create file* (glob)
[2]
$ cat a.psm
load s0, 1
