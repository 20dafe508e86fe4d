#!/usr/bin/env bash
# Installs the build with `cmake --install` into a temporary prefix and checks the installed
# morva-cli on the sample against the build tree's (installed_sample.sh).
# Usage: install_layout.sh BUILD-DIR SOURCE-DIR [--debug-build]
set -uo pipefail
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >"$prefix.log" 2>&1 || { cat "$prefix.log"; rm -f "$prefix.log"; exit 1; }
rm -f "$prefix.log"
"$(dirname "$0")/installed_sample.sh" "$prefix" "$1" "$2" "${3:-}"
