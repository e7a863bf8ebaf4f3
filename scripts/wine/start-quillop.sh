#!/usr/bin/env bash
# Starts Quillop.exe under Wine and writes a screenshot of its main window.
# With DISPLAY set, Quillop stays open on that display until you close it; without one it runs
# on a private Xvfb just long enough for the screenshot.
# Usage: scripts/wine/start-quillop.sh [Quillop.exe] [screenshot.png]
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
exe="${1:-$root/build/win64/bin/Quillop.exe}"
out="${2:-$root/build/screenshots/main.png}"
if [ ! -f "$exe" ]; then
    echo "start-quillop: $exe not found; build it first: cmake --preset win64 && cmake --build --preset win64 -j2" >&2
    exit 1
fi
# The main window's class is QuillopForm; its title is set at first show.
exec "$here/screenshot.sh" "$exe" "$out" 'Quillop|\?\?' --keep
