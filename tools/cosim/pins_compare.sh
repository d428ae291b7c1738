#!/bin/bash
# Compares korvo_kcpsm6 with the vendor's KCPSM6 pin by pin at every clock,
# both in one GHDL testbench (pins_compare_tb.vhd). The vendor core and the
# behavioural stand-ins of its primitives are local files that never enter
# this tree.
# Usage: pins_compare.sh KCPSM6_VHD UNISIM_VHD BUILD_DIR PROGRAM [CYCLES [INTS [SLEEPS [RESETS [HWB [VEC [SPM]]]]]]]
#   PROGRAM  a .psm (assembled with BUILD_DIR/src/korvo for PicoBlaze 6, 4K) or a words/.hex file
#   INTS     clocks at which the interrupt line rises, comma-separated ("-": none)
#   SLEEPS, RESETS  clock ranges "a-b,c-d" ("-": none)
#   HWB, VEC decimal; SPM 64|128|256
# Exit 0 when every pin agrees at every clock, 1 when they differ, 2 on a tool failure.
set -e
here=$(cd "$(dirname "$0")" && pwd)
hdl=$(cd "$here/../../hdl/vhdl" && pwd)
[ $# -ge 4 ] || { sed -n 2,13p "$0" >&2; exit 2; }
k6=$(readlink -f "$1"); unisim=$(readlink -f "$2"); build=$(readlink -f "$3"); program=$(readlink -f "$4")
cycles=${5:-20000}; ints=${6:--}; sleeps=${7:--}; resets=${8:--}; hwb=${9:-0}; vec=${10:-1023}; spm=${11:-64}
export LD_LIBRARY_PATH="$build/src${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
w=$(mktemp -d); trap 'rm -rf "$w"' EXIT
cd "$w"
case "$program" in
  *.psm|*.PSM)
    { for p in $(seq 0 255); do printf 'DSIO $%02X\r\n' "$p"; done; cat "$program"; } > program.psm
    "$build/src/korvo" asm --core 6 --program-size 4K --no-exec --words rom.hex program.psm > asm.log 2>&1 \
      || { cat asm.log >&2; exit 2; } ;;
  *) cp "$program" rom.hex ;;
esac
mkdir lib
tr -d '\r' < "$k6" > kcpsm6.vhd
{
  ghdl -a --std=93c --work=unisim --workdir=lib "$unisim"
  ghdl -a --std=93c -fsynopsys -fexplicit -Wno-hide -Plib --workdir=lib kcpsm6.vhd
  ghdl -a --std=93c --workdir=lib "$hdl/korvo_cosim_pkg.vhd" "$hdl/korvo_kcpsm6.vhd"
  ghdl -a --std=93c -fsynopsys -fexplicit -Plib --workdir=lib "$here/pins_compare_tb.vhd"
  ghdl -e --std=93c -fsynopsys -fexplicit -Plib --workdir=lib pins_compare_tb
} > ghdl.log 2>&1 || { cat ghdl.log >&2; exit 2; }
set +e
ghdl -r --std=93c -fsynopsys -fexplicit -Plib \
  --workdir=lib pins_compare_tb -gHEXFILE="$w/rom.hex" -gCYCLES="$cycles" -gINTS="$ints" -gSLEEPS="$sleeps" \
  -gRESETS="$resets" -gHWB="$hwb" -gVEC="$vec" -gSPM="$spm" --ieee-asserts=disable > run.log 2>&1
status=$?
grep -v "^$" run.log | tail -15
[ $status -eq 0 ] && grep -q " 0 differences" run.log && exit 0
grep -q "compared" run.log && exit 1
exit 2
