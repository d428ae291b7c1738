#!/usr/bin/env bash
# Runs dap_client_test.js, a debug session of the debug adapter test support
# library from npm against korvo dap. The library is installed once into
# FOLDER (in the build folder), never into the source tree.
# Usage: run.sh KORVO TEST_JS FOLDER
set -euo pipefail
korvo=$1 test=$2 folder=$3
library=@vscode/debugadapter-testsupport@1.68.0
mkdir -p "$folder"
if [ ! -d "$folder/node_modules/@vscode/debugadapter-testsupport" ]; then
    # A package of its own, so that npm installs here and nowhere above.
    echo '{ "name": "korvo-dap-client-test", "private": true }' >"$folder/package.json"
    (cd "$folder" && timeout 300 npm install --no-audit --no-fund --silent "$library")
fi
NODE_PATH="$folder/node_modules" timeout 120 node "$test" "$korvo"
