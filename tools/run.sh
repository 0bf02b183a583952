#!/usr/bin/env bash
# Starts the program, or says plainly why it cannot: Qt aborts when there is no display to open.
set -euo pipefail
program="$1"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Wheelwatcher needs a graphical desktop, and this session has none (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "Start it from a desktop session, or try it under a virtual display: xvfb-run -a $program" >&2
  exit 1
fi
exec "$program"
