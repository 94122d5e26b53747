#!/usr/bin/env bash
# The viewer beside the bare SDL window, on one virtual display (Xvfb, no window manager):
#  1. start to first complete frame: the two programs started in turn, <starts> times each,
#     through first_frame_timer (from just before exec to the first complete frame's
#     present); the medians, in milliseconds.
#  2. idle: each program started, given 5 s to settle, then its user+system CPU over the
#     next <seconds> s is read from /proc; also its peak resident memory at the end.
#  3. the viewer's peak resident memory after every photograph has been shown once: the
#     clicks viewer_click_points plays on the headless screen are played again with
#     xdotool (each photograph checked on the screen: the picture area's corner is no longer
#     the window's sky blue), then VmHWM is read.
#   bench/measure_viewer.sh <build dir> [seconds] [starts]
set -euo pipefail
build=$1
seconds=${2:-20}
starts=${3:-15}
viewer=$build/app/velmorath
bare=$build/bench/bare_sdl_window
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp -br >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
read -r -t 10 -u "$fd" number
export DISPLAY=:$number

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
peak_kib() { awk '/VmHWM/ {print $2}' "/proc/$1/status"; }

viewer_times=() bare_times=()
for ((i = 0; i < starts; ++i)); do
  viewer_times+=("$(timeout 30 "$build/bench/first_frame_timer" "$viewer")")
  bare_times+=("$(timeout 30 "$build/bench/first_frame_timer" "$bare")")
done
echo "first frame, median of $starts starts: velmorath $(printf '%s\n' "${viewer_times[@]}" | median) ms," \
  "bare_sdl_window $(printf '%s\n' "${bare_times[@]}" | median) ms"
echo "  velmorath: ${viewer_times[*]}"
echo "  bare_sdl_window: ${bare_times[*]}"

# CPU time on the processor in nanoseconds, all threads (the scheduler's count, finer than
# the 10 ms of user and system time).
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ sum += $1 } END { print sum }'; }
for program in "$viewer" "$bare"; do
  "$program" >/dev/null &
  pid=$!
  sleep 5
  before=$(cpu_ns $pid)
  sleep "$seconds"
  after=$(cpu_ns $pid)
  peak=$(peak_kib $pid)
  kill $pid
  wait $pid 2>/dev/null || true
  echo "$(basename "$program") idle: cpu $(( (after - before) / 1000000 )) ms over ${seconds} s, peak rss ${peak} KiB"
done

clicks=$("$build/bench/viewer_click_points")
"$viewer" >/dev/null &
pid=$!
sleep 3
window=$(xdotool search --onlyvisible --name '^Velmorath V1\.4$' | head -n 1)
started=$(peak_kib $pid)
# The pixel 6 right of and below the picture area's corner, as "rrggbb".
picture_corner() { import -window "$window" -crop 1x1+270+70 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | tr -d '#'; }
count=0 shown=0
while read -r x y point; do
  xdotool mousemove --window "$window" "$x" "$y" click 1
  count=$((count + 1))
  sleep 0.3
  if ((point > 0)); then
    corner=$(picture_corner)
    if [[ $corner == A6CAF0 ]]; then echo "test point $point: no photograph on the screen" >&2; else shown=$((shown + 1)); fi
  fi
done <<< "$clicks"
echo "velmorath after $count clicks, $shown photographs seen on the screen: peak rss $(peak_kib $pid) KiB" \
  "($started KiB before the first)"
kill $pid
wait $pid 2>/dev/null || true
