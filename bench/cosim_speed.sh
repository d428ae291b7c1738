#!/usr/bin/env bash
# Speed of the HDL core models: bench/firmware_loop.psm run for COUNT
# instructions (default 1000000) on korvo_kcpsm6 and korvo_kcpsm3 under
# Icarus Verilog, korvo_kcpsm6 under Verilator and GHDL, and on the vendor's
# gate-level cores in the same testbenches (the instance renamed, nothing
# else) where they are present locally: KORVO_KCPSM3 a folder with kcpsm3.v and unisims/, KORVO_KCPSM6
# the file kcpsm6.vhd with the kit's unisim_beh.vhd (KORVO_GATELEVEL_KIT,
# default ../shared/gatelevel). Prints instructions per second of processor
# time (user + system) for the simulation run alone.
#   bench/cosim_speed.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
count=${COUNT:-1000000}
kit=${KORVO_GATELEVEL_KIT:-$root/../shared/gatelevel}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
korvo=$build/src/korvo
"$korvo" asm --core 3 --no-exec --words "$work/loop3.hex" "$root/bench/firmware_loop.psm" >/dev/null
"$korvo" asm --core 6 --program-size 1K --no-exec --words "$work/loop6.hex" \
    "$root/bench/firmware_loop.psm" >/dev/null

TIMEFORMAT='%U %S'
# Runs a command and prints its instructions per second of processor time.
rate() {
    local name=$1
    shift
    { time "$@" >"$work/run.log" 2>&1; } 2>"$work/time"
    # The testbench names the clocks it ran once it has run them all.
    if ! grep -q "_tb: $((2 * count + 4)) clocks" "$work/run.log"; then
        printf '%-34s did not run: %s\n' "$name" "$(tail -1 "$work/run.log")"
        return
    fi
    awk -v name="$name" -v n="$count" '{ t = $1 + $2; printf "%-34s %10.3f s %14.0f /s\n", name, t, n / t }' "$work/time"
}
echo "$count instructions of bench/firmware_loop.psm; load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-34s %12s %16s\n' "" "cpu time" "instructions"

verilog() { # TOP and the files of the model
    iverilog -g2005 -L "$build/src" -m korvo_cosim -o "$work/$1.vvp" -s "$1" -I "$root/hdl/verilog" \
        "$root/bench/cosim/$1.v" "$root"/hdl/verilog/*.v
    rate "Icarus, ${2}" vvp -n -M "$build/src" "$work/$1.vvp" +rom="$work/$3" +n="$count"
}
if command -v iverilog >/dev/null; then
    verilog speed6_tb korvo_kcpsm6 loop6.hex
    verilog speed3_tb korvo_kcpsm3 loop3.hex
    if [[ -f ${KORVO_KCPSM3:-}/kcpsm3.v ]]; then
        sed 's/korvo_kcpsm3 cpu/kcpsm3 cpu/' "$root/bench/cosim/speed3_tb.v" >"$work/vendor3_tb.v"
        iverilog -g2005 -o "$work/vendor3.vvp" -s speed3_tb -s glbl "$work/vendor3_tb.v" \
            "$KORVO_KCPSM3/kcpsm3.v" "$KORVO_KCPSM3"/unisims/*.v
        rate "Icarus, kcpsm3.v (gate level)" vvp -n "$work/vendor3.vvp" +rom="$work/loop3.hex" +n="$count"
    fi
fi
if command -v verilator >/dev/null; then
    verilator --binary --timing -Wno-fatal -Wno-lint -Wno-style --top-module speed6_tb \
        --Mdir "$work/verilator" -o speed6 -I"$root/hdl/verilog" "$root/bench/cosim/speed6_tb.v" \
        "$root"/hdl/verilog/*.v \
        "$build/src/libkorvo_cosim.so" -LDFLAGS "-Wl,-rpath,$build/src" >"$work/verilator.log" 2>&1
    rate "Verilator, korvo_kcpsm6" "$work/verilator/speed6" +rom="$work/loop6.hex" +n="$count"
fi
if command -v ghdl >/dev/null; then
    mkdir "$work/model6" "$work/vendor6"
    ghdl -a --std=93c --workdir="$work/model6" "$root/hdl/vhdl/korvo_cosim_pkg.vhd" \
        "$root/hdl/vhdl/korvo_kcpsm6.vhd" "$root/hdl/examples/vhdl/program_rom.vhd" \
        "$root/bench/cosim/speed6_tb.vhd" 2>/dev/null
    export LD_LIBRARY_PATH="$build/src${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
    ghdl -e --std=93c --workdir="$work/model6" speed6_tb
    rate "GHDL, korvo_kcpsm6" ghdl -r --std=93c --workdir="$work/model6" speed6_tb \
        -grom_file="$work/loop6.hex" -gn="$count"
    if [[ -f ${KORVO_KCPSM6:-} ]]; then
        sed 's/entity work.korvo_kcpsm6/entity work.kcpsm6/' "$root/bench/cosim/speed6_tb.vhd" \
            >"$work/vendor6_tb.vhd"
        vendor=(--std=93c -fsynopsys -fexplicit -Wno-hide -P"$work/vendor6" --workdir="$work/vendor6")
        ghdl -a --std=93c --work=unisim --workdir="$work/vendor6" "$kit/kcpsm6/unisim_beh.vhd"
        ghdl -a "${vendor[@]}" "$KORVO_KCPSM6" "$root/hdl/examples/vhdl/program_rom.vhd" \
            "$work/vendor6_tb.vhd"
        ghdl -e "${vendor[@]}" speed6_tb
        rate "GHDL, kcpsm6.vhd (gate level)" ghdl -r "${vendor[@]}" speed6_tb \
            -grom_file="$work/loop6.hex" \
            -gn="$count"
    fi
fi
