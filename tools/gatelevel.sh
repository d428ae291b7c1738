#!/usr/bin/env bash
# Runs every exerciser of tests/data/gatelevel on the vendor's gate-level
# cores and compares each run instruction by instruction with korvo sim
# (through the comparison kit's compare.py), and prints a table of the runs.
#
# usage: tools/gatelevel.sh [--kcpsm6 FILE] [--kcpsm3 DIR] [--korvo BIN] [--kit DIR]
#                           [--keep DIR] [--only NAME]
#   --kcpsm6  the file kcpsm6.vhd (v1.3)          (default: $KORVO_KCPSM6)
#   --kcpsm3  a folder with kcpsm3.v and unisims/ (default: $KORVO_KCPSM3)
#   --korvo   the korvo binary (default: build/src/korvo)
#   --kit     the comparison kit (default: $KORVO_GATELEVEL_KIT or ../shared/gatelevel)
#   --keep    keeps the traces of every run in a folder of its own below DIR
#   --only    runs only the lines of runs.txt whose program is NAME
# The cores are third-party and never part of the tree: fetch them for local
# use. A core that is not given is skipped with a message; without either the
# script does nothing and succeeds. CI does not run it (GHDL and Icarus
# Verilog are needed: apt-get install ghdl iverilog).
#
# The runs are the lines of tests/data/gatelevel/runs.txt. A run agrees when
# the traces are equal for every instruction (or up to where the testbench
# marks the end of the hardware's defined behaviour), or when they differ only
# in the last instruction before that mark and korvo stopped there with its
# fault message: korvo halts on a stack fault or a scratch-pad address beyond
# the pad instead of completing the instruction.
# Exit status: 0 every run agrees (or nothing to run), 1 some run differs,
# 2 usage or tool failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
data="$root/tests/data/gatelevel"
k6="${KORVO_KCPSM6:-}"
k3="${KORVO_KCPSM3:-}"
korvo="$root/build/src/korvo"
kit="${KORVO_GATELEVEL_KIT:-$root/../shared/gatelevel}"
keep=""
only=""
while [ $# -gt 0 ]; do
    case "$1" in
    --kcpsm6) k6=$2; shift 2 ;;
    --kcpsm3) k3=$2; shift 2 ;;
    --korvo) korvo=$2; shift 2 ;;
    --kit) kit=$2; shift 2 ;;
    --keep) keep=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    *) sed -n '/^# usage/,/^#   --only/p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2 ;;
    esac
done

have6=false
have3=false
[ -n "$k6" ] && [ -f "$k6" ] && have6=true
[ -n "$k3" ] && [ -f "$k3/kcpsm3.v" ] && [ -d "$k3/unisims" ] && have3=true
$have6 || echo "gatelevel: ${k6:+no file $k6, }no kcpsm6.vhd (--kcpsm6 or KORVO_KCPSM6): the PicoBlaze 6 runs are skipped" >&2
$have3 || echo "gatelevel: ${k3:+no kcpsm3.v and unisims/ in $k3, }no kcpsm3 folder (--kcpsm3 or KORVO_KCPSM3): the PicoBlaze 3 runs are skipped" >&2
if ! $have6 && ! $have3; then exit 0; fi
[ -x "$kit/compare.py" ] || { echo "gatelevel: no comparison kit at $kit (--kit)" >&2; exit 2; }
[ -x "$korvo" ] || { echo "gatelevel: no korvo binary at $korvo (--korvo)" >&2; exit 2; }
if $have6; then command -v ghdl >/dev/null || { echo "gatelevel: GHDL is missing (apt-get install ghdl)" >&2; exit 2; }; fi
if $have3; then command -v iverilog >/dev/null || { echo "gatelevel: Icarus Verilog is missing (apt-get install iverilog)" >&2; exit 2; }; fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The GHDL libraries are built once for all runs.
export TRACE6_WORK="$work/ghdl"

# Interrupt points, always the same for a name: instruction counts from a
# fixed pseudo-random sequence, at most 255 (the testbenches' limit).
points() {
    case "$1" in
    none) ;;
    early) echo 1 2 3 9 10 11 40 41 200 ;;
    # gaps of 40 to 167 instructions over the whole run
    spread) awk 'BEGIN { x = 12345; n = 30; while (n < 19900 && c < 200) { x = (x * 1103515245 + 12345) % 2147483648; n += 40 + int(x / 65536) % 128; print n; c++ } }' ;;
    # bursts of five points 1 to 4 (burst2: 2 to 5) instructions apart, one
    # burst every 300 or so
    burst | burst2) awk -v least=$(( ${1#burst} + 0 > 0 ? 2 : 1 )) 'BEGIN { x = 777; n = 20; while (n < 19900 && c < 250) { x = (x * 1103515245 + 12345) % 2147483648; n += 250 + int(x / 65536) % 100; for (i = 0; i < 5; i++) { x = (x * 1103515245 + 12345) % 2147483648; n += least + int(x / 65536) % 4; print n; c++ } } }' ;;
    # every 7th instruction from 5 to 1750
    dense) seq 5 7 1750 ;;
    *) echo "gatelevel: unknown interrupt set $1" >&2; return 1 ;;
    esac
}

# Whether a failed comparison is korvo halting on the last instruction
# before the testbench's X line: prints the X reason when it is.
stopped_at_fault() { # output hdl.trace korvo.trace
    grep -q "(korvo's trace ended)" <<<"$1" || return 1
    grep -q '^?' "$3" || return 1
    local event
    event=$(sed -n 's/^traces differ at instruction [0-9]* (event \([0-9]*\)).*/\1/p' <<<"$1")
    awk -v event="$event" '
        /^X / { why = substr($0, 3); exit }
        /^[IRWKFS] [0-9A-Fa-f]+( [0-9A-Fa-f]+)?[ \t]*$/ { n++; if ($1 == "I") last = n }
        END { if (why != "" && last == event) { print why; exit 0 } exit 1 }' "$2"
}

printf '%-15s %-4s %-34s %-14s %12s  %s\n' exerciser core options interrupts instructions result
failed=0
mapfile -t runs <"$data/runs.txt"
for run_line in "${runs[@]}"; do
    read -r program core interrupts options <<<"$run_line"
    case "$program" in "" | "#"*) continue ;; esac
    [ -z "$only" ] || [ "$only" = "$program" ] || continue
    [ "$options" = "-" ] && options=""
    if [ "$core" = 6 ]; then
        $have6 || continue
        hdl="$k6"
    else
        $have3 || continue
        hdl="$k3"
    fi
    args=()
    for n in $(points "$interrupts"); do args+=(--interrupt-at "$n"); done
    count=${#args[@]}
    run="$work/run"
    rm -rf "$run"
    # shellcheck disable=SC2086 # the options are words of their own
    output=$("$kit/compare.py" --core "$core" --hdl "$hdl" --korvo "$korvo" --keep "$run" \
        $options "${args[@]}" "$data/$program" 2>&1)
    status=$?
    compared=$(sed -n 's/^traces agree[^0-9]*\([0-9]*\) instructions.*/\1/p; s/^traces differ at instruction \([0-9]*\).*/\1/p' <<<"$output" | head -1)
    case $status in
    0)
        why=$(sed -n 's/.*leaves the defined behaviour: //p' <<<"$output")
        result="agree${why:+ up to: $why}"
        ;;
    1)
        if why=$(stopped_at_fault "$output" "$run/hdl.trace" "$run/korvo.trace"); then
            result="agree, korvo halts on: $why"
            compared=$((compared - 1))
        else
            result="DIFFER: $(head -1 <<<"$output")"
            failed=1
        fi
        ;;
    *)
        result="FAILED: $output"
        failed=1
        ;;
    esac
    if [ -n "$keep" ]; then
        dest="$keep/${program%.psm}-$core-$interrupts${options:+-$(tr -c 'A-Za-z0-9' _ <<<"$options")}"
        mkdir -p "$dest" && cp -r "$run"/. "$dest"/ && printf '%s\n' "$output" >"$dest/compare.txt"
    fi
    printf '%-15s %-4s %-34s %-14s %12s  %s\n' "$program" "$core" "${options:--}" \
        "$interrupts ($((count / 2)))" "${compared:-0}" "$result"
done
exit $failed
