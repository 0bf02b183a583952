#!/usr/bin/env bash
# Runs the real program on a virtual X display, where the window manager reads its caption and
# the About box is reached through the window's menu: what the offscreen tests cannot see.
# Usage: window_on_x11_test.sh <wheelwatcher executable>. Exit 77 (skipped) without Xvfb or xdotool.
set -uo pipefail
program="$1"
source "$(dirname "$0")/virtual_display.sh"

"$program" 2>/dev/null &
program_pid=$!
started_pids+=($program_pid)
window=$(timeout 10 xdotool search --sync --onlyvisible --name "Wheelwatcher" | head -n1)
[ -n "$window" ] || fail "the window did not appear"

about_windows() { xdotool search --onlyvisible --name "^About Wheelwatcher$" | wc -l; }

# The caption the window manager shows, blanks included and nothing appended.
wait_for "V 5.004 Wheelwatcher  " xdotool getwindowname "$window" || fail "caption"

for key in Return Escape; do
  xdotool mousemove --window "$window" 120 300 click 3
  sleep 0.5
  xdotool key Up Return  # the About item is the menu's last
  wait_for 1 about_windows || fail "the About box did not open"
  xdotool key "$key"
  wait_for 0 about_windows || fail "$key did not end the About box"
done
kill -0 "$program_pid" 2>/dev/null || fail "the program ended with its About box"
echo "PASS"
