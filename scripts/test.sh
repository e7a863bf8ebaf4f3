#!/usr/bin/env bash
# Builds every preset and runs every test: native, native with ASan/UBSan, the threaded timer
# and loop tests with ThreadSanitizer (that preset builds only those), the libFuzzer targets,
# the 64-bit Windows build under Wine (with its own Xvfb when there is no display) and the shipped
# 32-bit Windows build. Exits non-zero when any build or test fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

jobs=$(nproc)
for preset in native native-asan native-tsan fuzz win64 win32; do
  echo "== build $preset"
  cmake --preset "$preset" > "build-$preset.log" 2>&1 || { cat "build-$preset.log"; exit 1; }
  rm -f "build-$preset.log"
  cmake --build --preset "$preset" -j"$jobs"
done

failed_runs=0
total_passed=0
total_failed=0
run_ctest() {
  local preset=$1
  shift
  echo "== test $preset"
  local log
  log=$(mktemp)
  set +e
  "$@" ctest --preset "$preset" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  set -e
  local line
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
  if [ -n "$line" ]; then
    local failed all
    failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    all=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")
    total_failed=$((total_failed + failed))
    total_passed=$((total_passed + all - failed))
  fi
  rm -f "$log"
  if [ "$rc" -ne 0 ]; then failed_runs=$((failed_runs + 1)); fi
}

run_ctest native
run_ctest native-asan
run_ctest native-tsan
run_ctest fuzz
# The Windows tests run through scripts/wine/run.sh, which brings its own Xvfb. The prefix is
# made first, so that no test starts while Wine is still setting it up.
(source scripts/wine/prefix.sh && quillop_make_prefix && wineserver -w)
run_ctest win64

echo
echo "all presets: $total_passed passed, $total_failed failed"
[ "$failed_runs" -eq 0 ] && [ "$total_failed" -eq 0 ]
