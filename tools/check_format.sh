#!/usr/bin/env bash
# Fails when a C++ file under src, tests, bench or fuzz differs from what
# clang-format (with the repository's .clang-format) makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z --cached --others --exclude-standard -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' \
    'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h' | xargs -0 clang-format --dry-run --Werror
