#!/bin/bash
# Runs a PicoBlaze 6 program on korvo_kcpsm6 under GHDL (port_traffic_tb.vhd)
# and in korvo sim, and checks that the port traffic at the model's pins and
# the model's own trace are those of korvo sim --trace.
# Usage: port_traffic.sh KORVO LIBDIR PROGRAM.psm INSTRUCTIONS [rom|file]
# (file: the model assembles the source itself through its program_file
# generic instead of fetching from the ROM).
set -eu
korvo=$1; libdir=$2; program=$3; n=$4; source=${5:-rom}
hdl=$(cd "$(dirname "$0")/../../../hdl/vhdl" && pwd)
tb=$(cd "$(dirname "$0")" && pwd)/port_traffic_tb.vhd
export LD_LIBRARY_PATH="$libdir"
w=$(mktemp -d); trap 'rm -rf "$w"' EXIT
cd "$w"
# Every port a latch, on both sides.
{ for p in $(seq 0 255); do printf 'DSIO $%02X\n' "$p"; done; cat "$program"; } > program.psm
"$korvo" asm --core 6 --program-size 4K --no-exec --words rom.hex program.psm > asm.log 2>&1 || { cat asm.log; exit 1; }
"$korvo" sim --core 6 --program-size 4K --no-exec --trace --max-instructions "$n" program.psm > sim.out 2>&1 || true
grep -E '^[IRWKFS] ' sim.out > sim.trace
grep -E '^[RWK] ' sim.trace > sim.ports
mkdir lib
ghdl -a --std=93c --workdir=lib "$hdl/korvo_cosim_pkg.vhd" "$hdl/korvo_kcpsm6.vhd" "$tb"
ghdl -e --std=93c --workdir=lib port_traffic_tb
ghdl -r --std=93c --workdir=lib port_traffic_tb -gROMFILE="$w/rom.hex" \
  -gPORTLOG="$w/pins.ports" -gTRACE="$w/model.trace" -gN="$n" --ieee-asserts=disable \
  $([ "$source" = file ] && echo -gPROGRAM="$w/program.psm")
status=0
lines=$(grep -c '^I ' sim.trace)
if [ "$lines" -ne "$n" ]; then echo "korvo sim ran $lines instructions, not $n"; status=1; fi
if ! diff -u sim.ports pins.ports > ports.diff; then
  echo "port traffic at the pins differs from korvo sim --trace:"; head -20 ports.diff; status=1
fi
if ! diff -u sim.trace model.trace > trace.diff; then
  echo "the model's trace differs from korvo sim --trace:"; head -20 trace.diff; status=1
fi
[ $status -eq 0 ] && echo "$n instructions, $(wc -l < pins.ports) port accesses agree"
exit $status
