#!/usr/bin/env bash
# Compares korvo_kcpsm3 with the vendor's gate-level KCPSM3 pin by pin under
# Icarus Verilog (lockstep3_icarus_tb.v): every output pin at every clock, with
# interrupts, on each program given.
# Usage: tools/cosim/lockstep3_icarus.sh VENDOR_DIR BUILD_DIR PROGRAM... [-- PLUSARGS...]
#   VENDOR_DIR  a folder holding kcpsm3.v and unisims/*.v (fetched for local
#               use, never committed); when it holds no kcpsm3.v the script
#               says so and succeeds
#   BUILD_DIR   the build folder (src/korvo, src/korvo_cosim.vpi)
#   PROGRAM     a .psm in the Korvo dialect (assembled for PicoBlaze 3) or a
#               KCPSM3 .hex / words file of 1024 lines
#   PLUSARGS    for the testbench, for every program: +clocks=N +irq_gap=G
#               +seed=S +reset_at=C (see lockstep3_icarus_tb.v)
# Prints one line per program; exit status 0 when every pin agreed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
vendor=$1 build=$(cd "$2" && pwd)
shift 2
programs=()
while [[ $# -gt 0 && $1 != -- ]]; do
    programs+=("$1")
    shift
done
[[ ${1:-} == -- ]] && shift
if [[ ! -f $vendor/kcpsm3.v ]]; then
    echo "lockstep3_icarus.sh: no kcpsm3.v in $vendor; nothing compared"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
iverilog -g2005 -L "$build/src" -m korvo_cosim -o "$work/tb.vvp" -s lockstep3_icarus_tb -s glbl \
    -I "$root/hdl/verilog" "$here/lockstep3_icarus_tb.v" "$root"/hdl/verilog/*.v \
    "$vendor/kcpsm3.v" "$vendor"/unisims/*.v
status=0
for program in "${programs[@]}"; do
    rom=$work/rom.hex
    case $program in
    *.psm) "$build/src/korvo" asm --core 3 --no-exec --words "$rom" "$program" >/dev/null ;;
    *) tr -d '\r' <"$program" >"$rom" ;;
    esac
    output=$(vvp -n -M "$build/src" "$work/tb.vvp" +rom="$rom" "$@")
    summary=$(grep '^lockstep3_icarus_tb:' <<<"$output" || true)
    echo "${program##*/}: ${summary#lockstep3_icarus_tb: }"
    if ! grep -q ' 0 differences' <<<"$summary"; then
        grep -A12 '^korvo_lockstep:' <<<"$output" || echo "$output"
        status=1
    fi
done
exit $status
