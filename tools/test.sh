#!/usr/bin/env bash
# Builds everything and runs every test suite.
# KORVO_BUILD_DIR picks the build folder; KORVO_SANITIZE=ON builds with
# AddressSanitizer and UndefinedBehaviorSanitizer; KORVO_WERROR=ON turns every
# compiler warning into an error.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh
build="${KORVO_BUILD_DIR:-build}"
cmake -S . -B "$build" -G Ninja -DKORVO_SANITIZE="${KORVO_SANITIZE:-OFF}" \
    -DKORVO_WERROR="${KORVO_WERROR:-OFF}" >/dev/null
cmake --build "$build"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
