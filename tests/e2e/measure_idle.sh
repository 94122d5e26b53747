#!/usr/bin/env bash
# Runs the demo idle on a virtual display for a number of seconds (default 20) with its
# 100 ms repainting timer, and prints the CPU seconds it used (user+system).
#   tests/e2e/measure_idle.sh <path to velmorath_demo> [seconds]
set -euo pipefail
demo=$1
seconds=${2:-20}
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp -br -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
read -r -t 10 -u "$fd" number
export DISPLAY=:$number
/usr/bin/time -f "cpu %U+%S s" timeout -s TERM "$seconds" "$demo" >/dev/null || true
