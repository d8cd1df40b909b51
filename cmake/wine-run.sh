#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CTest's emulator for the Windows programs: runs one under wine, within a time limit. In
# the prefix that script/test-windows made for the run, or else in a fresh one of its own.
set -uo pipefail
if [ -z "${WINEPREFIX:-}" ]; then
    source "$(dirname "$0")/../script/wine.sh"
    start_wine || { echo "wine cannot start here"; exit 77; }
    trap stop_wine EXIT
fi
# The program first, then its arguments; a file named by its Linux path is given as wine
# sees it, on drive Z:.
args=("$1")
for arg in "${@:2}"; do
    [[ $arg == /* && -e $arg ]] && arg="Z:${arg//\//\\}"
    args+=("$arg")
done
timeout "${RATINOR_WINE_TIMEOUT:-60}" wine "${args[@]}"
