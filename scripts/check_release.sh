#!/usr/bin/env bash
# Checks the release ZIP: it holds exactly Quillop.exe, Quillop.txt and catalog.txt, the
# documents are not empty, and Quillop.exe is a 32-bit (PE32, i386) Windows GUI program that
# imports only DLLs every Windows installation has.
#   bash scripts/check_release.sh [build/win32/Quillop-1.0f-win32.zip]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
zip=${1:-$root/build/win32/Quillop-1.0f-win32.zip}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}
# The DLLs of Windows itself that Quillop may use (lower case).
system_dlls="kernel32.dll user32.dll gdi32.dll comctl32.dll shell32.dll advapi32.dll msvcrt.dll"

fail() { echo "check_release: $*" >&2; exit 1; }

[ -f "$zip" ] || fail "no release ZIP at $zip (make it with: cmake --workflow --preset release)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

entries=$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')
[ "$entries" = "Quillop.exe Quillop.txt catalog.txt " ] ||
  fail "the ZIP holds '$entries' instead of 'Quillop.exe Quillop.txt catalog.txt'"
unzip -q "$zip" -d "$work"
for doc in Quillop.txt catalog.txt; do
  [ -s "$work/$doc" ] || fail "$doc is empty"
done

headers=$("$objdump" -p "$work/Quillop.exe") || fail "Quillop.exe is not a PE file"
grep -q 'file format pei-i386' <<<"$headers" || fail "Quillop.exe is not a 32-bit x86 program"
grep -Eq '^Magic[[:space:]]+010b' <<<"$headers" || fail "Quillop.exe is not PE32"
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "Quillop.exe is not a GUI program"
dlls=$(sed -nE 's/^[[:space:]]*DLL Name: (.*)$/\1/p' <<<"$headers" | tr 'A-Z' 'a-z' | LC_ALL=C sort -u)
[ -n "$dlls" ] || fail "Quillop.exe imports no DLL at all"
for dll in $dlls; do
  case " $system_dlls " in
    *" $dll "*) ;;
    *) fail "Quillop.exe imports $dll, which is not a system DLL" ;;
  esac
done
echo "check_release: $zip holds Quillop.exe (PE32 GUI, imports: $(tr '\n' ' ' <<<"$dlls"| sed 's/ $//')), Quillop.txt, catalog.txt"
