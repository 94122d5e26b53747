#!/usr/bin/env bash
# Idle CPU of the viewer and of the bare SDL window, one after the other on one virtual
# display: each is started, given 5 s to settle, then its user+system CPU over the next
# N seconds (default 20) is read from /proc; also its peak resident memory at the end.
#   bench/measure_viewer.sh <build dir> [seconds]
set -euo pipefail
build=$1
seconds=${2:-20}
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp -br >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
read -r -t 10 -u "$fd" number
export DISPLAY=:$number
ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
for program in "$build/app/velmorath" "$build/bench/bare_sdl_window"; do
  "$program" >/dev/null &
  pid=$!
  sleep 5
  before=$(cpu_ticks $pid)
  sleep "$seconds"
  after=$(cpu_ticks $pid)
  peak=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
  kill $pid
  wait $pid 2>/dev/null || true
  echo "$(basename "$program"): cpu $(( (after - before) * 1000 / ticks )) ms over ${seconds} s, peak rss ${peak} KiB"
done
