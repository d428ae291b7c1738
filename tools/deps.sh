#!/usr/bin/env bash
# Installs the Debian packages the build needs, and those given as arguments,
# when any is missing.
set -euo pipefail
# fonts-dejavu-core holds the family the GUI tests name wherever a result
# depends on the font; ghdl runs the VHDL core model's tests, iverilog and
# verilator the Verilog ones.
packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libqscintilla2-qt6-dev
          libgtest-dev libgmock-dev libbenchmark-dev libgl-dev clang-format python3-jsonschema
          fonts-dejavu-core ghdl iverilog verilator nodejs "$@")
# Node.js and npm run the debug adapter's client test; some builds of nodejs
# bring npm along.
command -v npm >/dev/null || packages+=(npm)
# Neovim's built-in language client is a real client of korvo lsp in the tests.
packages+=(neovim)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get install -y --no-install-recommends "${missing[@]}" ||
        { $sudo apt-get update && $sudo apt-get install -y --no-install-recommends "${missing[@]}"; }
fi
