#!/usr/bin/env bash
# Takes docs/screenshots/selftest-gtkwave.png: the waveform of
# examples/selftest_pbt3.psm in GTKWave under a virtual X server (Debian
# packages gtkwave, xvfb and imagemagick).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${KORVO_BUILD_DIR:-build}"
cmake --build "$build" --target korvo >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/src/korvo" sim --core 3 --no-exec --exit-port 0xFF --vcd "$work/selftest.vcd" \
    examples/selftest_pbt3.psm >/dev/null
cat >"$work/show.tcl" <<'TCL'
gtkwave::addSignalsFromList [list pbt3.core.pc pbt3.core.instr pbt3.core.s0 pbt3.core.s1 \
    pbt3.core.s2 pbt3.core.sE pbt3.core.zero pbt3.core.carry pbt3.ports.port_FF_result \
    pbt3.ports.port_FF_result_wr]
gtkwave::/Edit/Highlight_All
gtkwave::/Edit/Data_Format/Hex
gtkwave::/Edit/UnHighlight_All
gtkwave::/Time/Zoom/Zoom_Best_Fit
TCL
cd "$work"
xvfb-run -a -s "-screen 0 1280x720x24" bash -c \
    'gtkwave -S show.tcl selftest.vcd >/dev/null 2>&1 & sleep 6; import -window root shot.png; kill $!'
cd - >/dev/null
convert "$work/shot.png" -crop 1010x656+0+0 +repage docs/screenshots/selftest-gtkwave.png
