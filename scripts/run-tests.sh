#!/usr/bin/env bash
# Runs every test: the portable core natively under ASan/UBSan, then the
# winelib tests under Wine and Xvfb in a fresh WINEPREFIX.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-build}
case $build in /*) ;; *) build=$top/$build ;; esac
. "$top/scripts/wine-env.sh"
jobs=$(nproc)
status=0
echo "== native core tests (ASan/UBSan)"
ctest --test-dir "$build/native" --output-on-failure --timeout 300 -j "$jobs" || status=1
echo "== fuzz targets, briefly: at most TSL_FUZZ_RUNS runs or TSL_FUZZ_SECONDS each (at length by hand: $build/fuzz/<name> fuzz/corpus/<name>)"
for f in "$build"/fuzz/*_fuzz; do
  [ -x "$f" ] || continue
  name=$(basename "$f")
  corpus=$(mktemp -d)
  [ -d "$top/fuzz/corpus/$name" ] && cp -r "$top/fuzz/corpus/$name/." "$corpus/"
  if "$f" -runs="${TSL_FUZZ_RUNS:-20000}" -max_total_time="${TSL_FUZZ_SECONDS:-10}" -max_len=65536 "$corpus" >"$corpus.log" 2>&1; then
    echo "$name: passed"
  else
    echo "$name: FAILED"; tail -40 "$corpus.log"; status=1
  fi
  rm -rf "$corpus" "$corpus.log"
done
echo "== winelib tests under Wine"
tsl_fresh_prefix
trap tsl_drop_prefix EXIT
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$build/wine" --output-on-failure --timeout 300 -j "$jobs" || status=1
exit $status
