#!/usr/bin/env bash
# Builds the VS Code extension of editors/vscode into BUILD/korvo-psm.vsix,
# BUILD being the argument, else KORVO_BUILD_DIR (in the repository, as for
# tools/test.sh), else build. It installs the npm packages that
# editors/vscode/package-lock.json pins (from the npm registry, install
# scripts off) into editors/vscode/node_modules, checks that the grammar is
# the one the assembler's keyword tables give, compiles, runs the extension's
# tests (with BUILD/src/korvo when it is built) and packages.
set -euo pipefail
if [ $# -gt 1 ]; then
    echo "usage: tools/vsix.sh [BUILD]" >&2
    exit 2
fi
build=""
[ $# -eq 0 ] || build=$(realpath -m "$1")
cd "$(dirname "$0")/.."
[ -n "$build" ] || build=$(realpath -m "${KORVO_BUILD_DIR:-build}")
vsix="$build/korvo-psm.vsix"

# Debian's node and npm when either is missing. An installed node that brings
# its own npm stays: Debian's npm package would replace it.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    tools/deps.sh nodejs npm
fi
command -v unzip >/dev/null || tools/deps.sh unzip

cd editors/vscode
project_version=$(sed -n 's/^project(KorvoIDE VERSION \([0-9.]*\).*/\1/p' ../../CMakeLists.txt)
extension_version=$(node -p 'require("./package.json").version')
if [ "$project_version" != "$extension_version" ]; then
    echo "editors/vscode/package.json: version $extension_version, not $project_version" >&2
    exit 1
fi

npm ci --ignore-scripts --no-audit --no-fund
node scripts/generate-grammar.js --check
node node_modules/typescript/bin/tsc -p ./

korvo="$build/src/korvo"
if [ -x "$korvo" ]; then
    export KORVO_EXECUTABLE="$korvo"
else
    echo "vsix: $korvo is not built; the tests that ask korvo are skipped"
fi
node --test test/grammar.test.js test/manifest.test.js test/providers.test.js \
    test/servers.test.js

mkdir -p "$build"
node node_modules/@vscode/vsce/vsce package --skip-license --allow-missing-repository \
    --out "$vsix"

# The package holds the extension and its runtime packages, nothing of the
# sources, the tests or the build tools.
unzip -l "$vsix"
unwanted='^extension/(src|test|scripts)/'
unwanted+='|^extension/node_modules/(typescript|@vscode/vsce|vscode-textmate|vscode-oniguruma'
unwanted+='|@types)/'
if unzip -Z1 "$vsix" | grep -E "$unwanted"; then
    echo "vsix: $vsix holds files it should not (above)" >&2
    exit 1
fi
# It loads from what it holds.
KORVO_VSIX="$vsix" node --test test/package.test.js
echo "vsix: $vsix built in ${SECONDS}s"
