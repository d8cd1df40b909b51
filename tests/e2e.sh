#!/usr/bin/env bash
# Drives the real program through a real X server, as a user would: types the entries,
# picks "Unentschieden", presses Enter, copies a result box, presses Esc, and checks the
# entries file that is left behind. Exits 77 (skipped) where no X server can be started.
set -uo pipefail
program=${1:?usage: e2e.sh PATH-TO-RATINOR}
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
for tool in Xvfb openbox xdotool xclip xdpyinfo; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done

work=$(mktemp -d)
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

source "$(dirname "$0")/../script/xvfb.sh"
start_xvfb || skip "no X server could be started"
pids+=("$XVFB_PID")
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

cd "$work"
QT_SCALE_FACTOR=1 "$program" >"$work/ratinor.log" 2>&1 &
app=$!
main=$(timeout 10 xdotool search --sync --onlyvisible --name '^Ratinor 1\.2$' | head -1)
[ -n "$main" ] || fail "the main window did not appear"
xdotool windowactivate --sync "$main" 2>/dev/null || true
sleep 0.3

# The focus starts in the K factor box; Tab leads to own and opponent rating.
xdotool key --clearmodifiers ctrl+a && xdotool type --delay 20 "30"
xdotool key Tab ctrl+a && xdotool type --delay 20 "1600"
xdotool key Tab ctrl+a && xdotool type --delay 20 "1400"
# "Unentschieden" stands in the frame at (8, 104), 40 pixels down.
xdotool mousemove --window "$main" 40 152 click 1
sleep 0.3
xdotool key Return
sleep 0.3

read_box() {   # x y: the centre of a result box
    xdotool mousemove --window "$main" "$1" "$2" click 1
    xdotool key ctrl+a ctrl+c
    sleep 0.3
    xclip -o -selection clipboard
}
own=$(read_box 144 52)
change=$(read_box 184 52)
[ "$own" = 1592 ] || fail "new own rating shows '$own', not 1592"
[ "$change" = -8 ] || fail "own change shows '$change', not -8"

xdotool key Escape
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program did not end on Esc"
printf ' 30 \r\n 1600 \r\n 1400 \r\n' >expected.ini
cmp -s Ratinor.ini expected.ini || fail "Ratinor.ini holds: $(od -c Ratinor.ini)"
echo "1 passed, 0 failed"
