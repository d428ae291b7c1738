# korvo sim as a firmware test runner: exit port, expected outputs, inputs
# and interrupts, coverage and the end state in JSON.
--- countdown.psm
leds   DSOUT $02
       LOAD  s00, 5
loop:  OUT   s00, leds
       SUB   s00, 1
       JUMP  NZ, loop
       OUT   s00, $10
stop:  JUMP  stop
--- seven.psm
LOAD s0, 7
OUT s0, $30
--- spin.psm
spin: JUMP spin
--- halts.psm
LOAD s0, 1
RET
$ korvo sim --core 3 --exit-port 0xFF $EXAMPLES/selftest_pbt3.psm | grep Exit
 Exit: $00 (port $FF)
$ korvo sim --core I --exit-port '$30' seven.psm | grep Instructions
 Instructions: 2
[5]
$ korvo sim --core I --exit-port 48 seven.psm | grep Exit
 Exit: $07 (port $30)
[5]
$ korvo sim --core CR --exit-port 1 --max-instructions 50 spin.psm | grep Exit
 Exit: none (port $01)
[5]
$ korvo sim --core 3 --exit-port '$20' halts.psm | grep Stack
?Stack underflow occurred.
...
[3]
# Expected outputs: 6 when they differ, with the line of the OUT and of the
# expectation.
$ printf '5\n$04\n3\n2\n1\n' > all && korvo sim --core II --exit-port '$10' --expect-out 2=all countdown.psm | grep Exit
 Exit: $00 (port $10)
$ printf '5\n4\n\n7\n' > differs && korvo sim --core II --expect-out 2=differs countdown.psm | grep Instructions
 Instructions: 8
2> *countdown.psm:3: error: port $02 got $03, differs:4 expects $07 after 8 instructions (glob)
[6]
$ printf '5\n4\n3\n2\n1\n0\n' > more && korvo sim --core II --exit-port '$10' --expect-out 2=more countdown.psm | grep Exit
 Exit: $00 (port $10)
2> *more:6: error: port $02 expects $00, but the run ended after 17 instructions (glob)
[6]
$ printf '5\n4\n' > fewer && korvo sim --core II --expect-out 2=fewer countdown.psm >o
2> *countdown.psm:3: error: port $02 got $03, fewer expects no more values after 8* (glob)
[6]
$ printf '5\nabc\n' > bad && korvo sim --core II --expect-out 2=bad countdown.psm >o
2> *bad:2: abc is not an integer* (glob)
[2]
$ korvo sim --core II --expect-out 2=none.txt countdown.psm >o
2> *none.txt* (glob)
[2]
$ korvo sim --core II --expect-out '$10=all' countdown.psm >o
2> *countdown.psm:6: error: port $10 got $00, all:1 expects $05 after 17 instructions (glob)
[6]
$ korvo sim --core II --exit-port 256 countdown.psm >o
2> *--exit-port takes a port* (glob)
[2]
$ korvo sim --interrupt-every 0 spin.psm >o
2> *--interrupt-every needs* (glob)
[2]
$ korvo sim --vcd-limit many spin.psm >o
2> *--vcd-limit needs* (glob)
[2]
$ korvo sim --frequency 0 spin.psm >o
2> *--frequency needs* (glob)
[2]
$ korvo sim --json . spin.psm >o
2> *Cannot create file* (glob)
[4]

# A bidirectional port's input and interrupts before instructions 10, 20,
# ... 90; the limit comes before the one at 100.
--- isr.psm
io      DSIO  $05
        IN    s0, io
        EINT
main:   JUMP  main
isr:    ADD   s1, 1
        RETI  ENABLE
        ORG   $3FF
        JUMP  isr
$ korvo sim --core 3 --in 5=0x2A --interrupt-every 10 --max-instructions 100 isr.psm | tail -2 | head -1
s0=$2A s1=$09 s2=$00* (glob)
# One more at 15, between two of every 10.
$ korvo sim --core 3 --in 5=0x2A --interrupt-every 10 --interrupt-at 15 --max-instructions 100 isr.psm | tail -2 | head -1
s0=$2A s1=$0A s2=$00* (glob)

# Coverage of 20 instructions: LOAD, three rounds of SUB and JUMP NZ, CALL,
# ADD and RET, then ten JUMPs on done; never is never run.
--- branches.psm
        LOAD  s00, 3
loop:   SUB   s00, 1
        JUMP  NZ, loop
        CALL  bump
done:   JUMP  done
never:  LOAD  s01, 1
bump:   ADD   s02, 1
        RET
$ korvo sim --core II --max-instructions 20 --coverage run.info $PWD/branches.psm >o && cat run.info
TN:
SF:$DIR/branches.psm
DA:1,1
DA:2,3
DA:3,3
DA:4,1
DA:5,10
DA:6,0
DA:7,1
DA:8,1
LF:8
LH:7
end_of_record

# The end state in JSON (standard output holds it alone) follows its
# schema.
--- check.sh
korvo sim --json - "$@" >end.json 2>err
python3 -c 'import json, jsonschema, sys; d = json.load(open(sys.argv[1])); jsonschema.validate(d, json.load(open(sys.argv[2]))); print(d["core"], d["stop_reason"], d["instructions"])' end.json "$EXAMPLES/../docs/sim-end-state.schema.json"
$ printf '5\n4\n' > expected && sh check.sh --core 3 --exit-port 0xFF $EXAMPLES/selftest_pbt3.psm && sh check.sh --core 3 $EXAMPLES/uart_pbt3.psm && sh check.sh --core CR --max-instructions 0 $EXAMPLES/gcd_pbtc.psm && sh check.sh --core II --expect-out 2=expected countdown.psm 2>err && sh check.sh --core I $EXAMPLES/ram_rom_pbti.psm
3 exit-port 128
3 limit 1000000
CR none 0
II expectation 8
I limit 1000000
# A PicoBlaze 6 that runs past its last address ends with the PC just
# beyond the 4K words.
--- end6.psm
        LOAD  s0, 1
        JUMP  $FFF
        ORG   $FFF
        ADD   s0, 1
$ sh check.sh --core 6 end6.psm && python3 -c 'import json; print(json.load(open("end.json"))["pc"])'
6 error 3
4096
