# Sourced by the scripts that run Win32 programs: Wine's tools on PATH, quiet
# Wine, and a C locale so that Wine's ANSI code page is 1252.
export PATH=/usr/lib/wine:$PATH
export WINEDEBUG=${WINEDEBUG:--all}
export WINEARCH=win64
export LC_ALL=C.UTF-8
# Without the menu builder, the file associations tests register (start
# programs, mail handlers) stay inside the prefix instead of landing in the
# host user's desktop menus and MIME types.
export WINEDLLOVERRIDES="winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
# Initialises $WINEPREFIX. Windows are unmanaged, so Wine draws their
# captions and frames itself even without a window manager (Xvfb).
tsl_init_prefix() {
  WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mscoree,mshtml=" wine64 wineboot.exe -i >/dev/null 2>&1 || true
  wine64 reg.exe add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
}
# A fresh prefix of its own for one test run.
tsl_fresh_prefix() {
  local dir
  dir=$(mktemp -d /tmp/tslwine.XXXXXX)
  export WINEPREFIX=$dir/prefix
  export TSL_WINE_TMP=$dir
  tsl_init_prefix
}
tsl_drop_prefix() {
  [ -n "${TSL_WINE_TMP:-}" ] || return 0
  wineserver -k 2>/dev/null || true
  rm -rf "$TSL_WINE_TMP"
}
