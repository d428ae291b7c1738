#!/usr/bin/env bash
# Builds the IDE and starts it with an example program open.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
build="${KORVO_BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target korvo-ide korvo
# Without arguments the IDE opens an example program.
[ $# -gt 0 ] || set -- examples/walking_leds.psm
exec "$build/src/korvo-ide" "$@"
