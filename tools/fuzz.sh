#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz and runs each for SECONDS
# (default 30), starting from its seeds under fuzz/seeds. Fails when any
# target finds a crash, a sanitizer report, a hang or runaway memory; the
# input that found it is kept in build-fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
tools/deps.sh clang libclang-rt-dev
build=build-fuzz
cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKORVO_FUZZ=ON \
    -DKORVO_BUILD_GUI=OFF -DKORVO_BUILD_TESTS=OFF -DKORVO_BUILD_BENCH=OFF >/dev/null
targets=(kcpsm3_import kcpsm6_import assembler formatter check message_framing dap_requests lsp_server)
cmake --build "$build" --target "${targets[@]/%/_fuzz}"

corpus="$(mktemp -d)"
trap 'rm -rf "$corpus"' EXIT
mkdir -p "$build/findings"
failed=()
for target in "${targets[@]}"; do
    # Seeds beyond fuzz/seeds: the KCPSM sources of the import tests. A
    # debug session's requests need longer inputs.
    length=128
    case "$target" in
    kcpsm3_import) dictionary=kcpsm3 extra=(tests/data/text/kcpsm) ;;
    kcpsm6_import) dictionary=kcpsm6 extra=(tests/data/text/kcpsm6) ;;
    assembler | formatter | check) dictionary=dialect extra=() ;;
    message_framing) dictionary=protocol extra=() ;;
    dap_requests) dictionary=dap extra=() length=2048 ;;
    lsp_server) dictionary=lsp extra=() length=4096 ;;
    esac
    mkdir -p "$corpus/$target"
    echo "== $target: $seconds s"
    # New inputs go into the first folder; the seed folders are only read.
    if ! ASAN_OPTIONS=malloc_context_size=0 timeout $((seconds + 300)) \
        "$build/fuzz/${target}_fuzz" "$corpus/$target" "fuzz/seeds/$target" "${extra[@]}" \
        -dict="fuzz/$dictionary.dict" -max_len="$length" -max_total_time="$seconds" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" >"$build/findings/$target.log" 2>&1; then
        tail -n 60 "$build/findings/$target.log"
        failed+=("$target")
    fi
    grep -E "^(stat::number_of_executed_units|#[0-9]+ +DONE)" "$build/findings/$target.log" || true
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]} (inputs in $build/findings)" >&2
    exit 1
fi
echo "fuzzing: no findings"
