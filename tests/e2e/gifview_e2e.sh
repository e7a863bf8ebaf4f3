#!/usr/bin/env bash
# gifview under Wine, seen from outside: screenshots of its window (X's own pixels, taken with
# ImageMagick's import) a few frame periods apart show different frames, each exactly the
# colour of a composed frame over the picture's 40 x 30 pixels; after the Stretch menu command
# the frame's colour covers the whole client area.
# Usage: gifview_e2e.sh gifview.exe gifview_helper.exe
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine" && pwd)"
source "$here/prefix.sh"
source "$here/xvfb.sh"
viewer="$1"
helper="$2"
quillop_make_prefix
quillop_xvfb_start || exit 1
work="$(mktemp -d /tmp/gifview-e2e.XXXXXX)"
fail() {
    echo "gifview_e2e: $*" >&2
    rc=1
}
rc=0
gif="$work/anim.gif"
wine "$helper" write "$(winepath -w "$gif")" | tr -d '\r' >"$work/frames.txt"
[ -s "$work/frames.txt" ] || fail "the helper wrote no frames"
wine "$viewer" "$(winepath -w "$gif")" &
viewer_pid=$!
title="gifview - anim.gif"
window=
for _ in $(seq 1 120); do
    window=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\"" | awk '{print $1}' | head -n 1)
    [ -n "$window" ] && break
    sleep 0.25
done
[ -n "$window" ] || fail "no window titled '$title'"

# Pixels of each composed frame's colour in a screenshot: "RRGGBB=count ...".
count_colours() {
    /usr/bin/import-im6.q16 -window "$window" -depth 8 "ppm:$1" 2>/dev/null || return 1
    python3 - "$1" "$work/frames.txt" <<'PY'
import sys
data = open(sys.argv[1], 'rb').read()
# P6 header: magic, width, height, maxval, then RGB bytes.
fields, pos = [], 0
while len(fields) < 4:
    while data[pos:pos+1].isspace(): pos += 1
    if data[pos:pos+1] == b'#':
        pos = data.index(b'\n', pos) + 1; continue
    start = pos
    while not data[pos:pos+1].isspace(): pos += 1
    fields.append(data[start:pos])
pos += 1
w, h = int(fields[1]), int(fields[2])
pixels = data[pos:pos + 3 * w * h]
frames = [l.strip() for l in open(sys.argv[2]) if l.strip()]
counts = {f: 0 for f in frames}
for i in range(0, len(pixels), 3):
    key = '%02X%02X%02X' % (pixels[i], pixels[i+1], pixels[i+2])
    if key in counts: counts[key] += 1
print(' '.join('%s=%d' % (k, v) for k, v in counts.items()))
PY
}

if [ $rc -eq 0 ]; then
    sleep 1.5 # shown and painted
    seen=""
    for shot in 1 2 3 4 5 6; do
        counts=$(count_colours "$work/shot$shot.ppm") || { fail "no screenshot"; break; }
        echo "shot $shot: $counts"
        # Exactly one frame colour, over exactly the picture's 40 x 30 pixels.
        shown=$(echo "$counts" | tr ' ' '\n' | awk -F= '$2 > 0' | wc -l)
        full=$(echo "$counts" | tr ' ' '\n' | awk -F= '$2 == 1200 {print $1}')
        [ "$shown" -eq 1 ] && [ -n "$full" ] || fail "shot $shot is not one composed frame: $counts"
        case " $seen " in *" $full "*) ;; *) seen="$seen $full" ;; esac
        sleep 0.7
    done
    [ "$(echo $seen | wc -w)" -ge 2 ] || fail "the picture did not change between shots:$seen"

    # Stretch is the first item of the View menu: command 1001 (the menu bar's View is 1000).
    wine "$helper" command "$title" 1001 || fail "could not send the Stretch command"
    sleep 1.5
    counts=$(count_colours "$work/stretched.ppm") || fail "no screenshot"
    echo "stretched: $counts"
    # The client area is 160 x 120: one frame colour over all of it.
    echo "$counts" | tr ' ' '\n' | awk -F= '$2 == 19200 {found=1} END {exit !found}' ||
        fail "Stretch did not fill the 160 x 120 client area: $counts"
fi

kill "$viewer_pid" 2>/dev/null
wineserver -k 2>/dev/null
wait "$viewer_pid" 2>/dev/null
wineserver -w 2>/dev/null
quillop_xvfb_stop
rm -rf "$work"
[ $rc -eq 0 ] && echo "gifview_e2e: passed"
exit $rc
