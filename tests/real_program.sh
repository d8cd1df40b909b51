#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What only the real program, as it starts, shows:
#   real_program.sh PATH qt-options       Qt's own options (-platform, -style, -reverse) are
#                                         ignored: the program has no command line
#   real_program.sh PATH file-size-limit  under "ulimit -f", Esc shows the save-failure box
#                                         and keeps the old file, instead of SIGXFSZ ending
#                                         the program
# Exits 77, a CTest skip, where Xvfb or xdotool is missing.
set -u
export LC_ALL=C.UTF-8
program=$(realpath "${1:?usage: real_program.sh PATH qt-options|file-size-limit}")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL $*"; echo "0 passed, 1 failed"; exit 1; }

case ${2:-} in
qt-options)
    # Were they read, Qt would look for an X display that is not there and stop at once.
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen timeout 3 \
        "$program" -platform xcb -style nosuchstyle -reverse >"$work/out" 2>&1
    rc=$?
    [ "$rc" -eq 124 ] || fail "the program ended with $rc: $(cat "$work/out")"
    grep -q nosuchstyle "$work/out" && fail "Qt read -style: $(cat "$work/out")"
    ;;
file-size-limit)
    for tool in Xvfb xdotool; do
        command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
    done
    source "$here/../script/xvfb.sh"
    start_xvfb || { echo "SKIP: no X server could be started"; exit 77; }
    pids+=("$XVFB_PID")
    printf ' 25 \r\n 1700 \r\n 1650 \r\n' > Ratinor.ini
    cp Ratinor.ini before
    (ulimit -f 0 && exec env QT_QPA_PLATFORM=xcb "$program") >"$work/out" 2>&1 &
    app=$!
    pids+=("$app")
    main=$(timeout 10 xdotool search --sync --onlyvisible --name '^Ratinor 1.2$' | head -1)
    [ -n "$main" ] || fail "the main window did not appear"
    xdotool windowactivate --sync "$main" >/dev/null 2>&1
    xdotool key --window "$main" Escape
    # The box has the main window's title; the program must still be there to show it.
    for _ in $(seq 50); do
        [ "$(xdotool search --onlyvisible --name '^Ratinor 1.2$' | wc -l)" -ge 2 ] && break
        sleep 0.1
    done
    kill -0 "$app" 2>/dev/null || fail "the program ended: $(cat "$work/out")"
    [ "$(xdotool search --onlyvisible --name '^Ratinor 1.2$' | wc -l)" -ge 2 ] \
        || fail "no save-failure box"
    cmp -s Ratinor.ini before || fail "the entries file changed"
    ;;
*)
    echo "usage: real_program.sh PATH qt-options|file-size-limit"; exit 2 ;;
esac
echo "1 passed, 0 failed"
