#!/usr/bin/env bash
# Runs a desktop test program on a virtual X display (Xvfb) with the xcb platform, so that its
# windows, focus and input go through a real X server. With --wm a window manager (openbox)
# runs on that display too. Usage: run_under_xvfb.sh [--wm] PROGRAM [ARGS...]
set -euo pipefail
with_wm=0
if [ "${1:-}" = "--wm" ]; then with_wm=1; shift; fi
if ! command -v xvfb-run >/dev/null 2>&1; then
  echo "xvfb-run is not installed; skipping" >&2
  exit 77
fi
if [ "$with_wm" = 1 ] && ! command -v openbox >/dev/null 2>&1; then
  echo "openbox is not installed; skipping" >&2
  exit 77
fi
export PLEXO_XVFB_WM="$with_wm"
export QT_QPA_PLATFORM=xcb
# Without a session bus, Qt's accessibility bridge asks libdbus for one, and libdbus forks to
# autolaunch it. In the sanitizer build that child can stop for ever in the allocator before it
# execs (a lock another thread held at the fork), and the program waits on the child: its
# window never comes. The tests need no bus; an address that fails at once avoids the fork.
export DBUS_SESSION_BUS_ADDRESS="${DBUS_SESSION_BUS_ADDRESS:-unix:path=/nonexistent/plexo-tests-no-session-bus}"
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  if [ "$PLEXO_XVFB_WM" = 1 ]; then
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    # Wait until the window manager has taken the screen.
    for _ in $(seq 50); do
      xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
      sleep 0.1
    done
  fi
  "$@"
  status=$?
  if [ "$PLEXO_XVFB_WM" = 1 ]; then kill "$wm" 2>/dev/null || true; fi
  exit $status
' run_under_xvfb "$@"
