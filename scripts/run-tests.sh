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
# All targets at once: each is bounded in time, so the phase takes about
# TSL_FUZZ_SECONDS whatever the number of targets.
fuzzdir=$(mktemp -d)
for f in "$build"/fuzz/*_fuzz; do
  [ -x "$f" ] || continue
  name=$(basename "$f")
  mkdir -p "$fuzzdir/$name"
  [ -d "$top/fuzz/corpus/$name" ] && cp -r "$top/fuzz/corpus/$name/." "$fuzzdir/$name/"
  ( "$f" -runs="${TSL_FUZZ_RUNS:-20000}" -max_total_time="${TSL_FUZZ_SECONDS:-10}" -max_len=65536 \
      "$fuzzdir/$name" >"$fuzzdir/$name.log" 2>&1; echo $? >"$fuzzdir/$name.rc" ) &
done
wait
for rc in "$fuzzdir"/*.rc; do
  [ -e "$rc" ] || continue
  name=$(basename "$rc" .rc)
  if [ "$(cat "$rc")" = 0 ]; then
    echo "$name: passed"
  else
    echo "$name: FAILED"; tail -40 "$fuzzdir/$name.log"; status=1
  fi
done
rm -rf "$fuzzdir"
echo "== winelib tests under Wine"
tsl_fresh_prefix
trap tsl_drop_prefix EXIT
# Our own display, looked for from a random number: test runs started at
# the same time on one machine must not share one, or a window test of one
# run loses its display when the other run ends.
xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$build/wine" --output-on-failure --timeout 300 -j "$jobs" || status=1
exit $status
