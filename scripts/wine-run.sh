#!/usr/bin/env bash
# Runs one winelib program (its .so) under Wine in the caller's WINEPREFIX.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
[ -n "${WINEPREFIX:-}" ] || { echo "wine-run: no WINEPREFIX (run through scripts/run-tests.sh)" >&2; exit 2; }
exec wine64 "$@"
