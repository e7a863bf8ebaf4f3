#!/usr/bin/env bash
# Starts a private Xvfb when DISPLAY is unset. Usage: source scripts/wine/xvfb.sh; quillop_xvfb_start
# Sets DISPLAY and QUILLOP_XVFB_PID; quillop_xvfb_stop ends only the Xvfb started here.
quillop_xvfb_start() {
    QUILLOP_XVFB_PID=
    [ -n "${DISPLAY:-}" ] && return 0
    local fifo
    fifo="$(mktemp -u /tmp/quillop-xvfb.XXXXXX)"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    QUILLOP_XVFB_PID=$!
    local number
    read -r -t 20 number <"$fifo" || true
    rm -f "$fifo"
    if [ -z "$number" ]; then
        echo "xvfb: Xvfb did not start" >&2
        kill "$QUILLOP_XVFB_PID" 2>/dev/null
        QUILLOP_XVFB_PID=
        return 1
    fi
    export DISPLAY=":$number"
}

quillop_xvfb_stop() {
    if [ -n "${QUILLOP_XVFB_PID:-}" ]; then
        kill "$QUILLOP_XVFB_PID" 2>/dev/null
        wait "$QUILLOP_XVFB_PID" 2>/dev/null
        QUILLOP_XVFB_PID=
    fi
}
