#!/usr/bin/env bash
# Runs the UART and timer example on Korvo's PicoBlaze 6 model under
# Verilator (the model calls libkorvo_cosim through DPI-C).
# Usage: hdl/examples/run_verilator.sh [BUILD_DIR [WORK_DIR]]
#   BUILD_DIR  the CMake build folder holding src/korvo and
#              src/libkorvo_cosim.so (default: build)
#   WORK_DIR   where the ROM image, the compiled model and traffic.txt go
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
verilator --binary --timing -Wno-fatal -Wno-lint -Wno-style --top-module uart_timer_tb \
    --Mdir "$work/obj" -o uart_timer -I"$here/../verilog" \
    -Grom_file="\"$work/uart_timer.hex\"" -Gtraffic_file="\"$work/traffic.txt\"" \
    "$here"/verilog/*.v "$here"/../verilog/*.v \
    "$build/src/libkorvo_cosim.so" -LDFLAGS "-Wl,-rpath,$build/src" >"$work/verilator.log" 2>&1 ||
    { cat "$work/verilator.log" >&2; exit 1; }
output=$("$work/obj/uart_timer")
echo "$output"
grep -q "uart_timer_tb: PASS" <<<"$output"
