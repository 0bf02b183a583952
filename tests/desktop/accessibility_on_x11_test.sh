#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a virtual X display with the real accessibility bridge: a screen reader's view
# from outside the process (tests/desktop/read_through_atspi.py), over a D-Bus session of its own.
# Usage: accessibility_on_x11_test.sh <wheelwatcher executable>. Exit 77 (skipped) without Xvfb,
# dbus-run-session, the AT-SPI bus launcher or Debian's python3-pyatspi.
set -uo pipefail
program="$1"
here="$(cd "$(dirname "$0")" && pwd)"
command -v Xvfb >/dev/null && command -v dbus-run-session >/dev/null &&
  [ -x /usr/libexec/at-spi-bus-launcher ] && /usr/bin/python3 -c "import pyatspi" 2>/dev/null ||
  exit 77

# A session bus of its own, so parallel runs and the desktop's own bus stay apart.
if [ -z "${WHEELWATCHER_IN_TEST_SESSION:-}" ]; then
  WHEELWATCHER_IN_TEST_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi

source "$here/x11_session.sh"
start_display 800x720
export XDG_CONFIG_HOME="$scratch"

# The accessibility bus must be up before the program starts, as it is on a desktop with a screen
# reader; the program then joins it at once.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
  >/dev/null || { echo "FAIL: no accessibility bus"; exit 1; }

# Pounds, so that the test hears "{" spoken as the currency.
LANG=en_GB.UTF-8 LC_ALL= LC_MONETARY= QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
  "$program" 2>/dev/null &
program_pid=$!
background_pids+=("$program_pid")
timeout 60 /usr/bin/python3 "$here/read_through_atspi.py"
