# Sourced, not run: start_xvfb starts Xvfb on a free display, exports DISPLAY and
# XVFB_PID, and returns non-zero when no server comes up. The caller kills $XVFB_PID.
start_xvfb() {
    local n
    for n in $(seq 120 220); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x900x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null
    done
    return 1
}
