#!/usr/bin/env bash
# Runs the UART and timer example on Korvo's PicoBlaze 6 model under GHDL
# (the model calls libkorvo_cosim through VHPIDIRECT).
# Usage: hdl/examples/run_ghdl.sh [BUILD_DIR [WORK_DIR]]
#   BUILD_DIR  the CMake build folder holding src/korvo and
#              src/libkorvo_cosim.so (default: build)
#   WORK_DIR   where the ROM image, the compiled design and traffic.txt go
#              (default: a temporary folder, removed at the end)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../../build}" && pwd)
if [[ -n ${2:-} ]]; then
    work=$(mkdir -p "$2" && cd "$2" && pwd)
else
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
"$build/src/korvo" asm --core 6 --program-size 1K --no-exec --words "$work/uart_timer.hex" \
    "$here/firmware/uart_timer.psm" >/dev/null
mkdir -p "$work/lib"
# GHDL binds the model's foreign calls from analysis on.
export LD_LIBRARY_PATH="$build/src${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
ghdl -a --std=93c --workdir="$work/lib" "$here/../vhdl/korvo_cosim_pkg.vhd" \
    "$here/../vhdl/korvo_kcpsm6.vhd" "$here"/vhdl/uart_tx.vhd "$here"/vhdl/uart_rx.vhd \
    "$here"/vhdl/interval_timer.vhd "$here"/vhdl/program_rom.vhd \
    "$here"/vhdl/uart_timer_system.vhd "$here"/vhdl/uart_timer_tb.vhd
ghdl -e --std=93c --workdir="$work/lib" uart_timer_tb
output=$(ghdl -r --std=93c --workdir="$work/lib" uart_timer_tb \
    -grom_file="$work/uart_timer.hex" -gtraffic_file="$work/traffic.txt" --ieee-asserts=disable 2>&1)
echo "$output"
grep -q "uart_timer_tb: PASS" <<<"$output"
