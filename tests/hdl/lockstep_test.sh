#!/usr/bin/env bash
# The lockstep checker under Icarus: korvo_kcpsm6_lockstep watching
# korvo_kcpsm6 (lockstep_tb.v) finds no difference in a clean run of 4000
# clocks with interrupts, and for each fault put on the pins finds exactly
# the clock of the fault and reports the faulted pin, and only it, with two
# different values.
# Usage: lockstep_test.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
hdl=$(cd "$here/../../hdl/verilog" && pwd)
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/src/korvo" asm --core 6 --program-size 4K --no-exec --words "$work/rom.hex" \
    "$here/../data/gatelevel/irq6.psm" >/dev/null
iverilog -g2005 -L "$build/src" -m korvo_cosim -o "$work/tb.vvp" -s lockstep_tb -I "$hdl" \
    "$here/lockstep_tb.v" "$hdl"/*.v
# Row: the clock of the fault, the pins inverted (the testbench's pin vector,
# hex) and the pin the report must name.
faults=(
    "0    100000000 address"
    "120  000200000 address"
    "501  000000008 write_strobe"
    "777  000002000 port_id"
    "1010 000001000 out_port"
    "1500 000000010 bram_enable"
    "2000 000000004 k_write_strobe"
    "2345 000000002 read_strobe"
    "3999 000000001 interrupt_ack"
)
status=0
fail() {
    echo "FAIL: $*"
    status=1
}
clean=$(vvp -n -M "$build/src" "$work/tb.vvp" +rom="$work/rom.hex")
grep -q "lockstep_tb: 4000 clocks compared, 0 differences" <<<"$clean" || fail "clean run: $clean"
for row in "${faults[@]}"; do
    read -r clock mask pin <<<"$row"
    out=$(vvp -n -M "$build/src" "$work/tb.vvp" +rom="$work/rom.hex" +fault_clock="$clock" \
        +fault_mask="$mask")
    grep -q "^korvo_lockstep: difference at .*, clock $clock, after " <<<"$out" ||
        fail "fault at clock $clock not reported there: $out"
    # The pin lines whose two values differ.
    differing=$(awk '/^  [a-z_]+ +[0-9a-fx]+ +[0-9a-fx]+$/ && $2 != $3 { print $1 }' <<<"$out")
    [[ $differing == "$pin" ]] || fail "fault on $pin at clock $clock, report names: $differing"
    grep -q "lockstep_tb:" <<<"$out" && fail "the run went on after the difference at $clock"
done
[[ $status -eq 0 ]] && echo "clean run and ${#faults[@]} faults found at their clock and pin"
exit $status
