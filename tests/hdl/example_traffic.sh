#!/usr/bin/env bash
# Runs the UART and timer example under one HDL simulator (its script in
# hdl/examples) and checks the port traffic its testbench saw at the core's
# pins against korvo sim --trace of the same firmware (check_traffic.py).
# Usage: example_traffic.sh icarus|verilator|ghdl BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
examples=$(cd "$here/../../hdl/examples" && pwd)
simulator=$1 build=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$examples/run_$simulator.sh" "$build" "$work"
python3 "$here/check_traffic.py" "$build/src/korvo" 6 "$examples/firmware/uart_timer.psm" \
    "$work/traffic.txt"
