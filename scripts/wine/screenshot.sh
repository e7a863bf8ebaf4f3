#!/usr/bin/env bash
# Starts a Windows program under Wine (own Xvfb when DISPLAY is unset), waits for its window,
# writes a PNG of that window, then closes the program.
# Usage: scripts/wine/screenshot.sh program.exe output.png [window title pattern] [--keep]
# With --keep (and a DISPLAY of your own) the program stays open until you close it.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/prefix.sh"
source "$here/xvfb.sh"
exe="$1"
out="$2"
pattern="${3:-Quillop}"
keep="${4:-}"
quillop_make_prefix
quillop_xvfb_start || exit 1
own_display=${QUILLOP_XVFB_PID:+yes}

wine "$exe" &
program=$!
window=
for _ in $(seq 1 120); do
    window=$(xwininfo -root -tree 2>/dev/null | grep -E "\"[^\"]*(${pattern})[^\"]*\"" |
             grep -v 'has no name' | awk '{print $1}' | head -n 1)
    [ -n "$window" ] && break
    sleep 0.5
done
rc=0
if [ -z "$window" ]; then
    echo "screenshot: no window matching '$pattern' appeared" >&2
    rc=1
else
    sleep 2 # let it finish painting
    mkdir -p "$(dirname "$out")"
    /usr/bin/import-im6.q16 -window "$window" "$out" && echo "screenshot: $out"
    rc=$?
fi
if [ "$keep" = "--keep" ] && [ -z "$own_display" ] && [ $rc -eq 0 ]; then
    wait "$program" 2>/dev/null
else
    kill "$program" 2>/dev/null
    wineserver -k 2>/dev/null
    wait "$program" 2>/dev/null
fi
[ -n "$own_display" ] && wineserver -w 2>/dev/null
quillop_xvfb_stop
exit $rc
