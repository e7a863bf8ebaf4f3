#!/usr/bin/env bash
# The About box of the real Quillop.exe under Wine, seen from outside: Help > About (posted as
# its menu command) shows the dialog; screenshots of its X window (ImageMagick's import) a few
# logo frame periods apart show another picture in the logo's area; one screenshot is kept
# when a path is given.
# Usage: about_e2e.sh Quillop.exe gifview_helper.exe [screenshot.png]
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine" && pwd)"
source "$here/prefix.sh"
source "$here/xvfb.sh"
exe="$1"
helper="$2"
keep="${3:-}"
quillop_make_prefix
quillop_xvfb_start || exit 1
work="$(mktemp -d /tmp/about-e2e.XXXXXX)"
rc=0
fail() {
    echo "about_e2e: $*" >&2
    rc=1
}
find_window() {
    xwininfo -root -tree 2>/dev/null | grep -F "\"$1\"" | awk '{print $1}' | head -n 1
}
wait_window() {
    local w=
    for _ in $(seq 1 120); do
        w=$(find_window "$1")
        [ -n "$w" ] && break
        sleep 0.25
    done
    echo "$w"
}

wine "$exe" &
program=$!
main=$(wait_window "Quillop v1.0f")
[ -n "$main" ] || fail "no main window titled 'Quillop v1.0f'"
about=
if [ $rc -eq 0 ]; then
    sleep 1
    # AboutOption is the eleventh menu item Quillop numbers from 1000 (see quillop_e2e_test).
    wine "$helper" command "Quillop v1.0f" 1010 || fail "could not send Help > About"
    about=$(wait_window "About Quillop v1.0f ...")
    [ -n "$about" ] || fail "no window titled 'About Quillop v1.0f ...'"
fi
if [ $rc -eq 0 ]; then
    sleep 1.5 # shown and painted
    for shot in 1 2 3; do
        /usr/bin/import-im6.q16 -window "$about" "$work/shot$shot.png" 2>/dev/null ||
            fail "no screenshot $shot"
        sleep 0.25 # two and a half frames of 100 ms
    done
    size=$(/usr/bin/identify-im6.q16 -format '%wx%h' "$work/shot1.png" 2>/dev/null)
    echo "about_e2e: window picture $size"
    # The logo's 173 x 165 pixels at (15, 86) of the client area; the window picture adds the
    # frame (3 pixels) and the caption at the left and top: size - client size.
    read -r pw ph <<<"$(echo "$size" | tr 'x' ' ')"
    dx=$(((pw - 622) / 2))
    dy=$((ph - 411 - dx))
    logo="173x165+$((15 + dx))+$((86 + dy))"
    changed=0
    for pair in "1 2" "2 3"; do
        set -- $pair
        # Pixels of the logo's area that differ between the two shots (the quote and the
        # readout may change too, outside it).
        diff=$(/usr/bin/compare-im6.q16 -metric AE "$work/shot$1.png[$logo]" \
               "$work/shot$2.png[$logo]" null: 2>&1)
        echo "about_e2e: shots $1 and $2 differ in ${diff:-?} pixels of the logo ($logo)"
        case "$diff" in
            ''|*[!0-9]*) fail "cannot compare shots $1 and $2: $diff" ;;
            0) ;;
            *) changed=$((changed + 1)) ;;
        esac
    done
    [ $changed -ge 1 ] || fail "the logo did not change between screenshots"
    if [ -n "$keep" ]; then
        mkdir -p "$(dirname "$keep")"
        cp "$work/shot1.png" "$keep" && echo "about_e2e: screenshot $keep"
    fi
fi

kill "$program" 2>/dev/null
wineserver -k 2>/dev/null
wait "$program" 2>/dev/null
wineserver -w 2>/dev/null
quillop_xvfb_stop
rm -rf "$work"
[ $rc -eq 0 ] && echo "about_e2e: passed"
exit $rc
