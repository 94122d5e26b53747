#!/usr/bin/env bash
# The viewer idle at scale 1 and at scale 2 on one virtual display (Xvfb 2560x1600x24, no
# window manager), <rounds> times in turn: each started with VELMORATH_SCALE, given 5 s to
# settle, then its CPU time over the next <seconds> s is read from /proc (the scheduler's
# nanosecond count, all threads). Prints each measurement and the ratio of the sums.
#   bench/measure_scaled_idle.sh <build dir> [seconds] [rounds]
set -euo pipefail
build=$1
seconds=${2:-20}
rounds=${3:-3}
viewer=${VIEWER:-$build/app/velmorath}  # VIEWER: another copy of the program to measure
unset GDK_SCALE
source "$(dirname "$0")/virtual_display.sh" 2560x1600

cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ sum += $1 } END { print sum }'; }
idle_ms() {
  VELMORATH_SCALE=$1 "$viewer" >/dev/null &
  local pid=$!
  sleep 5
  local before after
  before=$(cpu_ns $pid)
  sleep "$seconds"
  after=$(cpu_ns $pid)
  kill $pid
  wait $pid 2>/dev/null || true
  echo $(( (after - before) / 1000000 ))
}
total1=0 total2=0
for ((r = 1; r <= rounds; ++r)); do
  one=$(idle_ms 1)
  two=$(idle_ms 2)
  total1=$((total1 + one)) total2=$((total2 + two))
  echo "round $r: scale 1 cpu $one ms, scale 2 cpu $two ms over ${seconds} s"
done
echo "sum: scale 1 $total1 ms, scale 2 $total2 ms, ratio $(awk -v a=$total2 -v b=$total1 'BEGIN { printf "%.2f", a / b }')"
