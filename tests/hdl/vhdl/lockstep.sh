#!/bin/bash
# korvo_kcpsm6_lockstep watching a core (watched_model.vhd by default, or the
# file given as WATCHED): it must agree at every clock, and must stop with its
# report naming the clock's time and the pin when one pin is made wrong.
# Usage: lockstep.sh KORVO LIBDIR PROGRAM.psm [WATCHED.vhd [INTS]]
# To watch the vendor's core (tools/cosim/watched_vendor.vhd), set VENDOR_KCPSM6
# and VENDOR_UNISIM to local copies of its file and of the primitives' stand-ins.
set -eu
korvo=$1; libdir=$2; program=$3
here=$(cd "$(dirname "$0")" && pwd)
hdl=$(cd "$here/../../../hdl/vhdl" && pwd)
watched=$(readlink -f "${4:-$here/watched_model.vhd}"); ints=${5:-"300,1500,4000"}
export LD_LIBRARY_PATH="$libdir"
w=$(mktemp -d); trap 'rm -rf "$w"' EXIT
cd "$w"
{ for p in $(seq 0 255); do printf 'DSIO $%02X\n' "$p"; done; cat "$program"; } > program.psm
"$korvo" asm --core 6 --program-size 4K --no-exec --words rom.hex program.psm > asm.log 2>&1 || { cat asm.log; exit 1; }
mkdir lib
if [ -n "${VENDOR_KCPSM6:-}" ]; then
  ghdl -a --std=93c --work=unisim --workdir=lib "$VENDOR_UNISIM"
  tr -d '\r' < "$VENDOR_KCPSM6" > kcpsm6.vhd
  ghdl -a --std=93c -fsynopsys -fexplicit -Wno-hide -Plib --workdir=lib kcpsm6.vhd
fi
ghdl -a --std=93c -fsynopsys -fexplicit -Plib --workdir=lib "$hdl/korvo_cosim_pkg.vhd" "$hdl/korvo_kcpsm6.vhd" \
  "$hdl/korvo_kcpsm6_lockstep.vhd" "$watched" "$here/lockstep_tb.vhd"
ghdl -e --std=93c -fsynopsys -fexplicit -Plib --workdir=lib lockstep_tb
run() { ghdl -r --std=93c -fsynopsys -fexplicit -Plib --workdir=lib lockstep_tb -gROMFILE="$w/rom.hex" -gINTS="$ints" "$@" \
  --ieee-asserts=disable > run.log 2>&1; }
status=0
if run -gCYCLES=20000; then
  grep lockstep: run.log
else
  echo "the checker stopped a core that agrees:"; cat run.log; status=1
fi
# Clock 5001 ends at 50015 ns; the checker compares on the falling edge
# 5 ns into the next clock.
if run -gCYCLES=20000 -gBREAK_AT=5001; then
  echo "the checker let a wrong port_id pass"; status=1
elif ! grep -q "differs from the model at 50020 ns after [0-9]* instructions, PC [0-9A-F]*: port_id expected" run.log; then
  echo "the checker's report is not the expected one:"; cat run.log; status=1
else
  grep -o "korvo_kcpsm6_lockstep:.*" run.log | head -1
fi
exit $status
