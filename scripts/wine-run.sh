#!/usr/bin/env bash
# Runs one winelib program (its .so) under Wine in the caller's WINEPREFIX.
# Its output goes through a file: a Windows process it started that outlives
# it (an explorer window the program manager opened, say) would otherwise
# hold the caller's pipe open, and ctest would wait for it until its timeout.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
[ -n "${WINEPREFIX:-}" ] || { echo "wine-run: no WINEPREFIX (run through scripts/run-tests.sh)" >&2; exit 2; }
out=$(mktemp)
wine64 "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
