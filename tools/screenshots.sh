#!/usr/bin/env bash
# Takes the screenshots in docs/screenshots under a virtual X server, at 100 %
# and at 200 % scaling (files ending in "@2x").
set -euo pipefail
cd "$(dirname "$0")/.."
build="${KORVO_BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target gui_screenshots_test
out="$PWD/docs/screenshots"
mkdir -p "$out"
for scale in 1 2; do
    suffix=""
    [ "$scale" = 1 ] || suffix="@${scale}x"
    KORVO_SCREENSHOT_DIR="$out" KORVO_SCREENSHOT_SUFFIX="$suffix" QT_SCALE_FACTOR="$scale" \
        xvfb-run -a -s "-screen 0 2560x1600x24" "$build/tests/gui_screenshots_test"
done
