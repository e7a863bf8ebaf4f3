#!/usr/bin/env bash
# Builds Quillop and starts it under Wine. Without a display it brings its own Xvfb, writes a
# screenshot of the running program and keeps it running until Ctrl+C (or, with
# --screenshot-only, closes it right after the screenshot).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

screenshot_only=no
[ "${1:-}" = "--screenshot-only" ] && screenshot_only=yes

bash scripts/setup.sh

# The 32-bit build is the one we ship; Debian's Wine runs the 64-bit build of the same code.
for preset in win32 win64; do
  cmake --preset "$preset" > /dev/null
  cmake --build --preset "$preset" --target Quillop -j"$(nproc)"
done
exe=build/win64/bin/Quillop.exe
echo "start: shipped 32-bit executable: $root/build/win32/bin/Quillop.exe"

source scripts/wine/prefix.sh
source scripts/wine/xvfb.sh
quillop_make_prefix
quillop_xvfb_start

wine "$exe" &
quillop_pid=$!
stop() {
  kill "$quillop_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  quillop_xvfb_stop
}
trap stop EXIT INT TERM

# Wait for the main window ("Quillop v1.0f"; a build without the identity texts showed "??").
window=
for _ in $(seq 1 120); do
  window=$(xwininfo -root -tree 2>/dev/null | grep -E '"(Quillop[^"]*|\?\?)"' | awk '{print $1}' | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.5
done
if [ -z "$window" ]; then
  echo "start: Quillop's main window did not appear" >&2
  exit 1
fi
sleep 2 # let it finish painting
mkdir -p build/screenshots
shot="$root/build/screenshots/quillop.png"
/usr/bin/import-im6.q16 -window "$window" "$shot"
echo "start: Quillop is running on display $DISPLAY; screenshot written to $shot"

if [ "$screenshot_only" = yes ]; then
  exit 0
fi
if [ -n "${QUILLOP_XVFB_PID:-}" ]; then
  echo "start: the display is a private Xvfb; press Ctrl+C to stop Quillop."
fi
wait "$quillop_pid" || true
