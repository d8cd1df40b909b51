#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a real display server, driven through AT-SPI as a screen reader
# drives it (tests/e2e.py): under X11 (Xvfb with openbox) or Wayland (weston's headless
# backend). Exits 77, a CTest skip, where that server or the accessibility bus cannot start.
#
# Usage: e2e.sh PATH-TO-RATINOR x11|wayland
set -uo pipefail
program=$(realpath "${1:?usage: e2e.sh PATH-TO-RATINOR x11|wayland}")
session=${2:?usage: e2e.sh PATH-TO-RATINOR x11|wayland}
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "SKIP: $*"; exit 77; }

if [ -z "${RATINOR_E2E_INNER:-}" ]; then
    command -v dbus-run-session >/dev/null || skip "dbus-run-session is not installed"
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
    # A session bus of its own, with the accessibility bus it starts on demand.
    RATINOR_E2E_INNER=1 exec dbus-run-session -- "$0" "$@" 2> >(grep -v '^dbus-daemon' >&2)
fi

work=$(mktemp -d)
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

case "$session" in
x11)
    for tool in Xvfb openbox xdotool xprop; do
        command -v "$tool" >/dev/null || skip "$tool is not installed"
    done
    source "$here/../script/xvfb.sh"
    start_xvfb || skip "no X server could be started"
    pids+=("$XVFB_PID")
    openbox >/dev/null 2>&1 &
    pids+=($!)
    export QT_QPA_PLATFORM=xcb
    ;;
wayland)
    command -v weston >/dev/null || skip "weston is not installed"
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    weston --backend=headless-backend.so --socket=ratinor-e2e --idle-time=0 \
        >"$work/weston.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/ratinor-e2e" ] && break; sleep 0.1; done
    [ -S "$XDG_RUNTIME_DIR/ratinor-e2e" ] || skip "weston could not be started: $(tail -3 "$work/weston.log")"
    unset DISPLAY
    export WAYLAND_DISPLAY=ratinor-e2e QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client
    ;;
*)
    echo "unknown session: $session"; exit 2 ;;
esac

# Qt joins the accessibility bus when the desktop says a screen reader is running.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled \
    variant:boolean:true >/dev/null || skip "the accessibility bus did not start"

mkdir "$work/home" && cd "$work/home"
QT_SCALE_FACTOR=1 "$program" >"$work/ratinor.log" 2>&1 &
app=$!
pids+=("$app")

WAYLAND_DEBUG= timeout 60 /usr/bin/python3 "$here/e2e.py" "$work/home" "$session"
result=$?
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
    echo "FAIL the program did not end on 'Ende'"
    result=1
fi
if [ "$session" = wayland ]; then
    # The compositor matches the window to the launcher entry by this id.
    if grep -q 'set_app_id("de.ratinor.Ratinor")' "$work/ratinor.log"; then
        echo "ok   the Wayland app_id is the desktop entry's id"
    else
        echo "FAIL the Wayland app_id: $(grep -o 'set_app_id([^)]*)' "$work/ratinor.log")"
        result=1
    fi
fi
[ $result -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $result
