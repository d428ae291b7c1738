#!/bin/bash
# Compares korvo_kcpsm3 (GHDL) with the vendor's KCPSM3 (Icarus) pin by pin at
# every clock: both testbenches get the same stimulus and derive the rest
# from their own pins, so that the first differing line is the first clock
# where a pin differs. The vendor core and its primitives are local files
# that never enter this tree.
# Usage: pins3_compare.sh VENDOR_DIR BUILD_DIR PROGRAM [CYCLES [INTS [RESETS]]]
#   VENDOR_DIR  a folder with kcpsm3.v and unisims/*.v
#   PROGRAM     a .psm (assembled with BUILD_DIR/src/korvo for PicoBlaze 3) or a 1024-word .hex
#   INTS        clocks at which the interrupt line rises, comma-separated ("-": none)
#   RESETS      clock ranges "a-b,c-d" with reset high besides clocks 0-11 (the
#               primitives' global reset holds the vendor core for the first 100 ns)
# Exit 0 when every pin agrees at every clock, 1 when they differ, 2 on a tool failure.
set -e
here=$(cd "$(dirname "$0")" && pwd)
hdl=$(cd "$here/../../hdl/vhdl" && pwd)
[ $# -ge 3 ] || { sed -n 2,13p "$0" >&2; exit 2; }
vendor=$(readlink -f "$1"); build=$(readlink -f "$2"); program=$(readlink -f "$3")
cycles=${4:-20000}; ints=${5:--}; resets=${6:--}
export LD_LIBRARY_PATH="$build/src${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
w=$(mktemp -d)
# KEEP=1 keeps the work folder (both pin files) for a look.
if [ -n "${KEEP:-}" ]; then echo "work folder: $w" >&2; else trap 'rm -rf "$w"' EXIT; fi
cd "$w"
case "$program" in
  *.psm|*.PSM)
    { for p in $(seq 0 255); do printf 'DSIO $%02X\r\n' "$p"; done; cat "$program"; } > program.psm
    "$build/src/korvo" asm --core 3 --no-exec --words rom.hex program.psm > asm.log 2>&1 \
      || { cat asm.log >&2; exit 2; } ;;
  *) cp "$program" rom.hex ;;
esac
python3 - "$cycles" "$ints" "$resets" > stim.txt <<'PY'
import sys
n, ints, resets = int(sys.argv[1]), sys.argv[2], sys.argv[3]
raise_at = set(int(x) for x in ints.split(",")) if ints != "-" else set()
ranges = [tuple(map(int, r.split("-"))) for r in resets.split(",")] if resets != "-" else []
for c in range(n):
    r = c < 12 or any(a <= c <= b for a, b in ranges)
    print("%d%d" % (r, c in raise_at))
PY
{
  iverilog -o vendor.vvp -s pins3_vendor_tb -s glbl "$here/pins3_vendor_tb.v" "$vendor/kcpsm3.v" "$vendor"/unisims/*.v
  mkdir lib
  ghdl -a --std=93c --workdir=lib "$hdl/korvo_cosim_pkg.vhd" "$hdl/korvo_kcpsm3.vhd" "$here/pins3_model_tb.vhd"
  ghdl -e --std=93c --workdir=lib pins3_model_tb
} > build.log 2>&1 || { cat build.log >&2; exit 2; }
vvp -n vendor.vvp +rom="$w/rom.hex" +stim="$w/stim.txt" +cycles="$cycles" +out="$w/vendor.pins" > vendor.log 2>&1 \
  || { cat vendor.log >&2; exit 2; }
ghdl -r --std=93c --workdir=lib pins3_model_tb -gROMFILE="$w/rom.hex" -gSTIMFILE="$w/stim.txt" \
  -gOUTFILE="$w/model.pins" -gCYCLES="$cycles" --ieee-asserts=disable > model.log 2>&1 || { cat model.log >&2; exit 2; }
acks=$(awk '$7 == 1' vendor.pins | wc -l)
if cmp -s vendor.pins model.pins; then
  echo "compared $cycles clocks, $acks interrupts acknowledged, 0 differences"
  exit 0
fi
echo "clock address port_id out_port write_strobe read_strobe interrupt_ack"
diff vendor.pins model.pins | head -12
echo "compared $cycles clocks, $acks interrupts acknowledged, $(diff vendor.pins model.pins | grep -c '^<') differences"
exit 1
