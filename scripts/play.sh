#!/usr/bin/env bash
# Plays a project: in a window on the current X display, or, without one,
# under Xvfb with a screenshot saved to build/play.png.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-build}
case $build in /*) ;; *) build=$top/$build ;; esac
. "$top/scripts/wine-env.sh"
project=${1:-}
[ -n "$project" ] && [ ! -e "$project" ] && echo "play: $project does not exist; starting without it" >&2
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
if [ ! -d "$WINEPREFIX" ]; then
  echo "play: preparing a Wine prefix in $WINEPREFIX"
  tsl_init_prefix
fi
if [ -n "${DISPLAY:-}" ]; then
  args=()
  if [ -n "$project" ] && [ -e "$project" ]; then
    abs=$(cd "$(dirname "$project")" && pwd)/$(basename "$project")
    args=("Z:${abs//\//\\}")
  fi
  exec wine64 "$build/wine/bin/tslplay32.exe.so" "${args[@]}"
fi
echo "play: no X display; playing under Xvfb and saving a screenshot"
p=$project
[ -n "$p" ] && [ ! -e "$p" ] && p=""
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$top/scripts/smoke.sh" "$p" "$build/play.png" &&
  echo "play: screenshot in $build/play.png"
