#!/usr/bin/env bash
# The viewer beside the bare SDL window, on one virtual display (Xvfb, no window manager):
#  1. start to first complete frame: the two programs started in turn, <starts> times each,
#     timed two ways: until the whole first frame is on the screen (screen_frame_timer polls
#     the window's pixels: the viewer's banner frame, card frame, Close ring, clock fill and
#     sky-blue client; the bare window's sky blue at the same places), and until the first
#     frame's present (first_frame_timer, from the program's own report); the medians, in
#     milliseconds.
#  2. idle: both programs started and given 5 s to settle, then each one's CPU time over
#     <seconds> s, taken in six slices that alternate between the two (the other stopped);
#     also each one's peak resident memory at the end.
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
source "$(dirname "$0")/virtual_display.sh" 1280x1024

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
peak_kib() { awk '/VmHWM/ {print $2}' "/proc/$1/status"; }

# Client pixels (x,y,RRGGBB) of the whole first frame (the bare window's banner rectangle
# changes colour after 100 ms, so none is read there).
viewer_frame=(8,8,ACA899 249,300,004E98 10,585,606046 900,596,3D95FF 500,300,A6CAF0)
bare_frame=(958,613,A6CAF0 249,300,A6CAF0 10,585,A6CAF0 900,596,A6CAF0 500,300,A6CAF0)
viewer_screen=() bare_screen=() viewer_times=() bare_times=()
for ((i = 0; i < starts; ++i)); do
  viewer_screen+=("$(timeout 40 "$build/bench/screen_frame_timer" 'Velmorath V1.4' "${viewer_frame[@]}" -- "$viewer")")
  bare_screen+=("$(timeout 40 "$build/bench/screen_frame_timer" bare "${bare_frame[@]}" -- "$bare")")
  viewer_times+=("$(timeout 30 "$build/bench/first_frame_timer" "$viewer")")
  bare_times+=("$(timeout 30 "$build/bench/first_frame_timer" "$bare")")
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
vs=$(printf '%s\n' "${viewer_screen[@]}" | median) bs=$(printf '%s\n' "${bare_screen[@]}" | median)
echo "whole first frame on the screen, median of $starts starts: velmorath $vs ms, bare_sdl_window $bs ms" \
  "($(ratio "$vs" "$bs") times)"
echo "  velmorath: ${viewer_screen[*]}"
echo "  bare_sdl_window: ${bare_screen[*]}"
vp=$(printf '%s\n' "${viewer_times[@]}" | median) bp=$(printf '%s\n' "${bare_times[@]}" | median)
echo "first frame presented, median of $starts starts: velmorath $vp ms, bare_sdl_window $bp ms" \
  "($(ratio "$vp" "$bp") times)"
echo "  velmorath: ${viewer_times[*]}"
echo "  bare_sdl_window: ${bare_times[*]}"

# CPU time on the processor in nanoseconds, all threads (the scheduler's count, finer than
# the 10 ms of user and system time).
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ sum += $1 } END { print sum }'; }
# Both programs run, each idle in six slices of <seconds>/6 s that alternate between them
# (the other one stopped meanwhile, so each is measured alone and both through the same
# minutes of the machine: measured one whole minute after the other, the machine's drift
# decided the ratio). A program given the processor back gets 1 s to catch up first.
"$viewer" >/dev/null &
vpid=$!
"$bare" >/dev/null &
bpid=$!
sleep 5
kill -STOP $bpid
programs=("$viewer" "$bare") pids=($vpid $bpid) idle_ns=(0 0)
slice=$(awk -v s="$seconds" 'BEGIN { print s / 6 }')
for ((k = 0; k < 6; ++k)); do
  for j in $((k % 2)) $((1 - k % 2)); do
    kill -CONT ${pids[j]}
    sleep 1
    before=$(cpu_ns ${pids[j]})
    sleep "$slice"
    idle_ns[j]=$((idle_ns[j] + $(cpu_ns ${pids[j]}) - before))
    kill -STOP ${pids[j]}
  done
done
idle_ms=()
for j in 0 1; do
  peak=$(peak_kib ${pids[j]})
  kill -CONT ${pids[j]}
  kill ${pids[j]}
  wait ${pids[j]} 2>/dev/null || true
  idle_ms+=($((idle_ns[j] / 1000000)))
  echo "$(basename "${programs[j]}") idle: cpu ${idle_ms[-1]} ms over ${seconds} s, peak rss ${peak} KiB"
done
echo "idle cpu: $(ratio "${idle_ms[0]}" "${idle_ms[1]}") times the bare window's"

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
