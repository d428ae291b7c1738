# The peripheral demos of examples/ run to the states their opening comments
# promise, with the options of their "Run it" line as a shell splits it when
# the line is pasted; each runs from a copy.
--- runit.sh
cp "$EXAMPLES/$1" "$EXAMPLES/stimulus_values.txt" .
options=$(sed -n '/; Run it:/,$p' "$1" | grep -m1 -o 'korvo sim.*' | sed 's/^korvo sim//; s/ [^ ]*$//')
test -n "$options" && eval "korvo sim $options $1" | tail -2
$ sh runit.sh switches_leds_pbt3.psm
*s0=$A5*s1=$04* (glob)
* (glob)
$ sh runit.sh stimulus_log_pbt3.psm && head -1 running_total.log && grep -c 'total: 168' running_total.log
*s0=$28*s1=$A8* (glob)
*Z=1* (glob)
total:   5\r
1
$ sh runit.sh ram_rom_pbti.psm
*sA=$04 sB=$D8* (glob)
* (glob)
$ sh runit.sh scratch_pad_pbt3.psm
*s5=$00* (glob)
* (glob)
$ sh runit.sh uart_pbt3.psm
*s0=$10*s3=$0A* (glob)
* (glob)
$ sh runit.sh interrupts_pbt3.psm
*s7=$03* (glob)
*IE=1* (glob)
$ sh runit.sh control_panel_pbt3.psm
*s1=$05 s2=$1F* (glob)
* (glob)

# The UART on standard input and output: an echo program returns every
# byte of a megabyte through a pipe, which blocks the writer while the
# UART catches up; the echo example answers in capitals.
--- echo.psm
serial  UART  $04, 0
data    EQU   $05
next:   IN    s0, serial
        TEST  s0, $10
        JUMP  Z, next
        IN    s1, data
send:   IN    s0, serial
        TEST  s0, $02
        JUMP  NZ, send
        OUT   s1, data
        JUMP  next
$ head -c 1048576 /dev/urandom >in.bin && cat in.bin | korvo sim --core 3 --uart-stdio --uart-baud 10000000 echo.psm >out.bin && cmp in.bin out.bin
...
2> *UART $04: 1048576 sent, 1048576 received, 0 lost* (glob)
...
$ printf 'hello, picoblaze\n' | korvo sim --core 3 --uart-stdio $EXAMPLES/uart_echo_pbt3.psm 2>err; s=$?; grep -c 's1=$0A s2=$11' err; exit $s
HELLO, PICOBLAZE
1
# UART options that cannot work.
$ korvo sim --core 3 --uart-wait echo.psm
2> korvo sim: * (glob)
[2]
$ korvo sim --core 3 --uart-tcp --uart-stdio echo.psm
2> korvo sim: * (glob)
[2]
$ korvo sim --core 3 --uart-baud 49 echo.psm
2> korvo sim: * (glob)
[2]
$ echo 'loop: JUMP loop' > none.psm && korvo sim --core 3 --uart-tcp none.psm
...
2> korvo sim: * (glob)
[2]
