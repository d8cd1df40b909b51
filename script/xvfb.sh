# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced, not run: start_xvfb starts Xvfb on a display it picks itself (-displayfd tells
# which), exports DISPLAY and XVFB_PID, and returns non-zero when no server comes up. The
# caller kills $XVFB_PID.
start_xvfb() {
    local fifo number
    fifo=$(mktemp -u) && mkfifo "$fifo" || return 1
    Xvfb -displayfd 3 -screen 0 1024x900x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    number=$(timeout 10 head -n1 "$fifo")
    rm -f "$fifo"
    if [ -z "$number" ]; then
        kill "$XVFB_PID" 2>/dev/null
        return 1
    fi
    export DISPLAY=":$number"
}
