#!/usr/bin/env bash
# The tests' printer: cups-pdf as the CUPS default printer, which Wine's
# winspool offers as its default printer. Jobs land as PDF files in
# cups-pdf's output folder (see `printer.sh folder`).
#
#   printer.sh start ID   starts cupsd when none runs, adds the queue, makes it
#                         the default; ID names the user (a build folder)
#   printer.sh stop ID    the user is done; the cupsd this script started
#                         stops when its last user is done
#   printer.sh folder     the folder the jobs of this user land in
#
# Test runs of several worktrees may share one machine: each registers as a
# user, and only the last one stops the scheduler.
set -euo pipefail
state=/tmp/tsl-printer
queue=TSL-PDF
mkdir -p "$state/users"
exec 9>"$state/lock"

running() { lpstat -r 2>/dev/null | grep -q 'is running'; }

wait_for() {  # wait_for SECONDS COMMAND...: true once the command succeeds
  local until=$((SECONDS + $1)); shift
  while ! "$@"; do
    [ $SECONDS -lt $until ] || return 1
    sleep 0.2
  done
}

user_key() { printf '%s' "$1" | md5sum | cut -c1-16; }

output_folder() {
  # cups-pdf writes into "Out" of its configuration, ${HOME} being the home
  # of the job's user.
  local out
  out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf 2>/dev/null | tail -1)
  [ -n "$out" ] || out='${HOME}/PDF'
  local home
  home=$(getent passwd "$(id -un)" | cut -d: -f6)
  printf '%s\n' "${out//'${HOME}'/$home}"
}

case ${1:-} in
start)
  [ -n "${2:-}" ] || { echo "usage: printer.sh start ID" >&2; exit 2; }
  flock -w 60 9
  command -v cupsd >/dev/null || { echo "printer.sh: cupsd is not installed (scripts/setup-deps.sh)" >&2; exit 1; }
  touch "$state/users/$(user_key "$2")"
  if ! running; then
    # The pid file says whether this script started the scheduler: a
    # stale one (a run that was killed) is dropped first.
    if [ -s "$state/cupsd.pid" ] && ! kill -0 "$(cat "$state/cupsd.pid")" 2>/dev/null; then
      rm -f "$state/cupsd.pid"
    fi
    mkdir -p /run/cups
    # Not holding the lock: the scheduler outlives this script.
    setsid cupsd -f </dev/null >"$state/cupsd.log" 2>&1 9>&- &
    echo $! >"$state/cupsd.pid"
    wait_for 30 running || { echo "printer.sh: cupsd did not start" >&2; cat "$state/cupsd.log" >&2; exit 1; }
  fi
  if ! lpstat -v "$queue" >/dev/null 2>&1; then
    ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd /usr/share/ppd/cups-pdf/*.ppd 2>/dev/null | head -1)
    [ -n "$ppd" ] || { echo "printer.sh: no cups-pdf driver (printer-driver-cups-pdf)" >&2; exit 1; }
    lpadmin -p "$queue" -E -v cups-pdf:/ -P "$ppd" -o PageSize=A4
  fi
  cupsenable "$queue"
  cupsaccept "$queue"
  lpadmin -d "$queue"
  wait_for 10 sh -c "lpstat -d | grep -q '$queue'"
  mkdir -p "$(output_folder)"
  ;;
stop)
  [ -n "${2:-}" ] || { echo "usage: printer.sh stop ID" >&2; exit 2; }
  flock -w 60 9
  rm -f "$state/users/$(user_key "$2")"
  if [ -z "$(ls -A "$state/users")" ] && [ -s "$state/cupsd.pid" ]; then
    pid=$(cat "$state/cupsd.pid")
    rm -f "$state/cupsd.pid"
    if kill "$pid" 2>/dev/null; then
      wait_for 20 sh -c "! kill -0 $pid 2>/dev/null" || kill -9 "$pid" 2>/dev/null || true
    fi
  fi
  ;;
folder)
  output_folder
  ;;
*)
  echo "usage: printer.sh start|stop ID | folder" >&2
  exit 2
  ;;
esac
