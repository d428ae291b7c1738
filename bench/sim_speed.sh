#!/usr/bin/env bash
# Speed of `korvo sim` on bench/firmware_loop.psm (PicoBlaze 3): the korvo of
# this tree against one built from a baseline revision (default: main) in a
# temporary folder, and this tree's korvo with --coverage, --exit-port and
# --expect-out, in alternating rounds. Prints the best round of each in
# millions of instructions per second of processor time (user + system) and
# of wall time; on a shared machine the processor time is the steadier one.
#   bench/sim_speed.sh [BASELINE]    ROUNDS (5) and COUNT (1e9) in the environment
set -euo pipefail
cd "$(dirname "$0")/.."
baseline="${1:-main}"
rounds="${ROUNDS:-5}"
count="${COUNT:-1000000000}"
build="${KORVO_BUILD_DIR:-build}"

cmake --build "$build" --target korvo >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/tree"
git archive "$baseline" | tar -x -C "$work/tree"
cmake -S "$work/tree" -B "$work/build" -G Ninja -DKORVO_BUILD_GUI=OFF -DKORVO_BUILD_TESTS=OFF \
    -DKORVO_BUILD_BENCH=OFF >/dev/null
cmake --build "$work/build" --target korvo >/dev/null

loop="$PWD/bench/firmware_loop.psm"
: >"$work/none.txt"
names=("baseline $baseline" "this tree" "--coverage" "--exit-port 0xFF" "--expect-out 2=FILE")
commands=(
    "$work/build/src/korvo sim --core 3 --no-exec --max-instructions $count $loop"
    "$build/src/korvo sim --core 3 --no-exec --max-instructions $count $loop"
    "$build/src/korvo sim --core 3 --no-exec --max-instructions $count --coverage $work/cov.info $loop"
    "$build/src/korvo sim --core 3 --no-exec --max-instructions $count --exit-port 0xFF $loop"
    "$build/src/korvo sim --core 3 --no-exec --max-instructions $count --expect-out 2=$work/none.txt $loop"
)
TIMEFORMAT='%U %S %R'
for ((round = 0; round < rounds; ++round)); do
    for i in "${!commands[@]}"; do
        # The exit port is never written, so that run ends with status 5.
        { time ${commands[$i]} >/dev/null 2>&1 || true; } 2>>"$work/times.$i"
    done
done
echo "korvo sim, $count instructions of bench/firmware_loop.psm, best of $rounds rounds;" \
    "load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
printf '%-22s %12s %12s\n' "" "M/s (cpu)" "M/s (wall)"
for i in "${!commands[@]}"; do
    awk -v name="${names[$i]}" -v count="$count" '
        { cpu = $1 + $2; if (NR == 1 || cpu < bestCpu) bestCpu = cpu
          if (NR == 1 || $3 < bestWall) bestWall = $3 }
        END { printf "%-22s %12.0f %12.0f\n", name, count / bestCpu / 1e6, count / bestWall / 1e6 }
    ' "$work/times.$i"
done
