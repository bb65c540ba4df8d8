#!/usr/bin/env bash
# Headless smoke run: starts tslplay32 on a project, waits for its window,
# saves a PNG screenshot, closes the window and waits for the player to end.
#   smoke.sh <project or ""> <out.png> [window class or title]
# Needs an X display (xvfb-run) and a WINEPREFIX (scripts/wine-env.sh).
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-build}
case $build in /*) ;; *) build=$top/$build ;; esac
. "$top/scripts/wine-env.sh"
project=${1:-}
out=$2
window=${3:-TSLPLAY32Frame}
bin=$build/wine/bin
args=()
if [ -n "$project" ]; then
  abs=$(cd "$(dirname "$project")" && pwd)/$(basename "$project")
  args=("Z:${abs//\//\\}")
fi
wine64 "$bin/tslplay32.exe.so" "${args[@]}" &
player=$!
# snapwin takes the Unix path and lets Wine translate it: the script never
# builds a Windows path that a Unix call could take for a file name.
bmp=$(mktemp /tmp/tslsnap.XXXXXX.bmp) || { kill $player; exit 1; }
wine64 "$bin/snapwin.exe.so" "$bmp" "$window" 30000 --close
snap=$?
for _ in $(seq 1 100); do kill -0 $player 2>/dev/null || break; sleep 0.1; done
if kill -0 $player 2>/dev/null; then
  echo "smoke: the player did not end after WM_CLOSE" >&2
  kill $player
  snap=1
fi
wait $player 2>/dev/null
played=$?
[ $snap -eq 0 ] && { convert "$bmp" "$out" || snap=1; }
rm -f "$bmp"
[ $snap -eq 0 ] && [ $played -eq 0 ]
