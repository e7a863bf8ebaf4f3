#!/usr/bin/env bash
# Runs the window list benchmark under Wine on the win64 build and prints its table.
# Usage: tests/bench/wine/list_bench.sh [runs] [sizes...]   (default: 3 runs, 1000 and 3000)
set -eu
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
build="$root/build/win64"
for f in "$build/bin/Quillop.exe" "$build/tests/bench/wine/list_bench.exe" \
         "$build/tests/bench/wine/bare_list.exe"; do
    if [ ! -f "$f" ]; then
        echo "list_bench: $f not found; build first: cmake --preset win64 && cmake --build --preset win64 -j2" >&2
        exit 1
    fi
done
# Wine maps the Unix root to drive Z:.
windows_path() { local p="Z:$1"; echo "${p//\//\\}"; }
exec "$root/scripts/wine/run.sh" "$build/tests/bench/wine/list_bench.exe" \
    "$(windows_path "$build/bin/Quillop.exe")" \
    "$(windows_path "$build/tests/bench/wine/bare_list.exe")" "$@"
