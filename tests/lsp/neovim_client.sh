#!/usr/bin/env bash
# Runs neovim_client.lua in a headless Neovim whose cache, state, data and
# configuration folders (its client's log among them) are a temporary
# folder, removed afterwards.
# Usage: neovim_client.sh NVIM KORVO DATA_DIR
set -euo pipefail
nvim=$1
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export KORVO=$2 KORVO_LSP_DATA=$3
export XDG_CACHE_HOME=$home XDG_STATE_HOME=$home XDG_DATA_HOME=$home XDG_CONFIG_HOME=$home
timeout 60 "$nvim" --headless --clean -c "luafile $(dirname "$0")/neovim_client.lua" </dev/null
