#!/usr/bin/env bash
# Installs what the build needs (Debian packages), builds the viewer and starts it.
# Without a graphical display (no DISPLAY or WAYLAND_DISPLAY) the viewer says that it
# needs one and exits with status 2; set VELMORATH_XVFB=1 to run it on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
VELMORATH_INSTALL_ONLY=1 bash tools/test.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target velmorath
export DBUS_SESSION_BUS_ADDRESS=${DBUS_SESSION_BUS_ADDRESS:-unix:path=/nonexistent}
if [ "${VELMORATH_XVFB:-0}" = "1" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" ./build/app/velmorath
fi
exec ./build/app/velmorath
