#!/usr/bin/env bash
# Runs the UART and timer example on Korvo's PicoBlaze 6 model under Icarus
# Verilog. Usage: hdl/examples/run_icarus.sh [BUILD_DIR [WORK_DIR]]
#   BUILD_DIR  the CMake build folder holding src/korvo, src/libkorvo_cosim.so
#              and src/korvo_cosim.vpi (default: build)
#   WORK_DIR   where the ROM image, the simulation and traffic.txt go (default:
#              a temporary folder, removed at the end)
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
iverilog -g2005 -L "$build/src" -m korvo_cosim -o "$work/uart_timer.vvp" -s uart_timer_tb \
    -I "$here/../verilog" \
    -P uart_timer_tb.rom_file=\""$work/uart_timer.hex"\" \
    -P uart_timer_tb.traffic_file=\""$work/traffic.txt"\" \
    "$here"/verilog/*.v "$here"/../verilog/*.v
output=$(vvp -n -M "$build/src" "$work/uart_timer.vvp")
echo "$output"
# vvp ends with 0 whatever the testbench found.
grep -q "uart_timer_tb: PASS" <<<"$output"
