#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program under wine, worked with real X key presses (xdotool): Tab, typing and
# Esc reach its windows through wine's keyboard, and Esc saves what was typed.
# Usage: xkeys.sh RATINOR.EXE; in the wine prefix and display of script/test-windows.
set -uo pipefail
export LC_ALL=C.UTF-8
skip() { echo "skipped: $*"; exit 77; }
[ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] || skip "no wine prefix and display (script/test-windows makes them)"
command -v xdotool >/dev/null || skip "xdotool is missing"
work=$(mktemp -d)
trap 'kill $app 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
timeout 60 wine "$1" &
app=$!
for _ in $(seq 50); do xdotool search --name '^Ratinor 1.2$' >/dev/null 2>&1 && break; sleep 0.2; done
sleep 1
xdotool key Tab && xdotool type --delay 50 1600
xdotool key Tab && xdotool type --delay 50 1400
xdotool key Escape
for _ in $(seq 50); do kill -0 $app 2>/dev/null || break; sleep 0.2; done
if kill -0 $app 2>/dev/null; then
    echo "FAIL: Esc did not end the program"
    exit 1
fi
if ! printf ' 30 \r\n 1600 \r\n 1400 \r\n' | cmp -s - Ratinor.ini; then
    echo "FAIL: Ratinor.ini holds $(od -c Ratinor.ini 2>/dev/null | head -3)"
    exit 1
fi
echo "typed with X keys, saved by Esc"
