#!/bin/bash
# Runs a PicoBlaze 6 or 3 program on korvo_kcpsm6 or korvo_kcpsm3 under GHDL
# (port_traffic_tb.vhd, port_traffic3_tb.vhd) and in korvo sim, and checks that the port traffic at the model's pins and
# the model's own trace are those of korvo sim --trace.
# Usage: port_traffic.sh KORVO LIBDIR PROGRAM.psm INSTRUCTIONS [rom|file [6|3]]
# (file: the model assembles the source itself through its program_file
# generic instead of fetching from the ROM).
set -eu
korvo=$1; libdir=$2; program=$3; n=$4; source=${5:-rom}; core=${6:-6}
hdl=$(cd "$(dirname "$0")/../../../hdl/vhdl" && pwd)
if [ "$core" = 3 ]; then
  tb=port_traffic3_tb; model=korvo_kcpsm3; size=(); else
  tb=port_traffic_tb; model=korvo_kcpsm6; size=(--program-size 4K); fi
here=$(cd "$(dirname "$0")" && pwd)
export LD_LIBRARY_PATH="$libdir"
w=$(mktemp -d); trap 'rm -rf "$w"' EXIT
cd "$w"
# Every port a latch, on both sides.
{ for p in $(seq 0 255); do printf 'DSIO $%02X\n' "$p"; done; cat "$program"; } > program.psm
"$korvo" asm --core "$core" "${size[@]}" --no-exec --words rom.hex program.psm > asm.log 2>&1 || { cat asm.log; exit 1; }
"$korvo" sim --core "$core" "${size[@]}" --no-exec --trace --max-instructions "$n" program.psm > sim.out 2>&1 || true
grep -E '^[IRWKFS] ' sim.out > sim.trace
grep -E '^[RWK] ' sim.trace > sim.ports
mkdir lib
ghdl -a --std=93c --workdir=lib "$hdl/korvo_cosim_pkg.vhd" "$hdl/$model.vhd" "$here/$tb.vhd"
ghdl -e --std=93c --workdir=lib $tb
ghdl -r --std=93c --workdir=lib $tb -gROMFILE="$w/rom.hex" \
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
