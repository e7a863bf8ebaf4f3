#!/usr/bin/env bash
# Runs a Windows program under Wine in Quillop's prefix, on a private Xvfb when DISPLAY is
# unset, and returns its exit code. Used by ctest for the Win32 tests.
# Usage: scripts/wine/run.sh program.exe [arguments...]
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/prefix.sh"
source "$here/xvfb.sh"
quillop_make_prefix
quillop_xvfb_start || exit 1
own_display=${QUILLOP_XVFB_PID:+yes}
started=$SECONDS
wine "$@"
rc=$?
if [ $rc -ne 0 ]; then
    # A program that dies before it prints anything leaves ctest with no clue; say what ran.
    echo "run.sh: wine $1 exited with $rc after $((SECONDS - started)) s on DISPLAY=$DISPLAY" >&2
fi
if [ -n "$own_display" ]; then
    # The prefix's server and desktop belong to the display that is going away.
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
fi
quillop_xvfb_stop
exit $rc
