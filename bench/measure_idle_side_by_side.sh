#!/usr/bin/env bash
# The viewer and the bare SDL window idle at the same time on one virtual display (Xvfb, no
# window manager), so that both see the same machine: after 5 s of settling, each one's CPU
# time over the next <seconds> s (the scheduler's count, all threads) and its context
# switches, voluntary (it waited) and involuntary (it was put aside while running), repeated
# <runs> times with a fresh display each time.
#   bench/measure_idle_side_by_side.sh <build dir> [seconds] [runs]
set -euo pipefail
build=$1
seconds=${2:-30}
runs=${3:-3}
viewer=$build/app/velmorath
bare=$build/bench/bare_sdl_window

# "cpu_ns voluntary involuntary", summed over the process's threads.
counts() {
  for task in /proc/"$1"/task/*; do
    echo "$(awk '{ print $1 }' "$task/schedstat") $(awk '/^voluntary_ctxt/ { v = $2 } /^nonvoluntary_ctxt/ { n = $2 } END { print v, n }' "$task/status")"
  done | awk '{ c += $1; v += $2; n += $3 } END { print c, v, n }'
}

for ((run = 1; run <= runs; ++run)); do
  (
    source "$(dirname "$0")/virtual_display.sh" 1280x1024
    "$viewer" >/dev/null 2>&1 &
    v=$!
    "$bare" >/dev/null 2>&1 &
    b=$!
    sleep 5
    read -r vc0 vv0 vn0 <<< "$(counts $v)"
    read -r bc0 bv0 bn0 <<< "$(counts $b)"
    sleep "$seconds"
    read -r vc1 vv1 vn1 <<< "$(counts $v)"
    read -r bc1 bv1 bn1 <<< "$(counts $b)"
    kill $v $b
    wait $v $b 2>/dev/null || true
    awk -v run="$run" -v s="$seconds" -v vc=$((vc1 - vc0)) -v bc=$((bc1 - bc0)) -v vv=$((vv1 - vv0)) -v vn=$((vn1 - vn0)) \
      -v bv=$((bv1 - bv0)) -v bn=$((bn1 - bn0)) 'BEGIN {
        printf "run %d, %d s: velmorath %.1f ms (switches %d waited, %d put aside), bare_sdl_window %.1f ms (%d, %d): %.2f times\n",
          run, s, vc / 1e6, vv, vn, bc / 1e6, bv, bn, vc / bc }'
  )
done
