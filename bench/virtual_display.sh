# Sourced by the bench scripts: starts a virtual display (Xvfb, no window manager) of the
# given size, stopped when the script exits, and points DISPLAY at it.
#   source bench/virtual_display.sh <width>x<height>
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 "$1x24" -nolisten tcp -br -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
read -r -t 10 -u "$fd" number
export DISPLAY=:$number
