#!/usr/bin/env bash
# The instructions each idle program runs in user space, counted by callgrind: the viewer
# and the bare SDL window started in turn on one virtual display (Xvfb, no window manager),
# given 12 s to settle under the tool, then counted over the next <seconds> s. Unlike CPU
# time these counts hardly move from run to run, so they show what a change saved.
#   bench/measure_idle_instructions.sh <build dir> [seconds] [out dir]
set -euo pipefail
build=$1
seconds=${2:-10}
out=${3:-$(mktemp -d)}
mkdir -p "$out"
source "$(dirname "$0")/virtual_display.sh" 1280x1024

for program in "$build/app/velmorath" "$build/bench/bare_sdl_window"; do
  name=$(basename "$program")
  valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$out/$name.out" "$program" >/dev/null 2>&1 &
  pid=$!
  sleep 12
  callgrind_control -i on $pid >/dev/null
  sleep "$seconds"
  callgrind_control -d $pid >/dev/null
  sleep 1
  kill $pid
  wait $pid 2>/dev/null || true
  # The dump taken while counting is the first part; the rest is the shutdown.
  total=$(callgrind_annotate "$out/$name.out.1" 2>/dev/null | awk '/PROGRAM TOTALS/ { print $1 }')
  echo "$name: $total instructions over $seconds s"
  callgrind_annotate --inclusive=yes "$out/$name.out.1" 2>/dev/null | sed -n '/file:function/,$p' | sed -n 3,14p | cut -c1-150
done
echo "profiles in $out"
