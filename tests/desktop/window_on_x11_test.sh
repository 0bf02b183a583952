#!/usr/bin/env bash
# Runs the real program on a virtual X display, where the window manager reads its caption and
# the About box and the statistics window are reached through the window's menu: what the
# offscreen tests cannot see.
# Usage: window_on_x11_test.sh <wheelwatcher executable>. Exit 77 (skipped) without Xvfb or xdotool.
set -uo pipefail
program="$1"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77

scratch=$(mktemp -d)
cleanup() {
  [ -n "${program_pid:-}" ] && kill "$program_pid" 2>/dev/null
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

# -displayfd picks a free display, so parallel runs do not collide.
Xvfb -displayfd 3 -screen 0 800x720x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.05; done
[ -s "$scratch/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$scratch/display")"
export XDG_CONFIG_HOME="$scratch"

QT_QPA_PLATFORM=xcb "$program" 2>/dev/null &
program_pid=$!
window=$(timeout 10 xdotool search --sync --onlyvisible --name "Wheelwatcher" | head -n1)
[ -n "$window" ] || fail "the window did not appear"

# Polls until a command's output equals the expected text; prints the last output otherwise.
wait_for() {
  local expected="$1" actual=""
  shift
  for _ in $(seq 40); do
    actual=$("$@" 2>/dev/null)
    [ "$actual" = "$expected" ] && return 0
    sleep 0.1
  done
  echo "expected [$expected], got [$actual]"
  return 1
}
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

# Statistics..., the item above About, opens a second window beside the main one, never over it,
# and the main window stays in play: its menu still opens the About box.
statistics_window() { xdotool search --onlyvisible --name "^Wheelwatcher Statistics$" | head -n1; }
xdotool mousemove --window "$window" 120 300 click 3
sleep 0.5
xdotool key Up Up Return
wait_for 1 sh -c 'xdotool search --onlyvisible --name "^Wheelwatcher Statistics$" | wc -l' ||
  fail "the statistics window did not open"
eval "$(xdotool getwindowgeometry --shell "$window")"
main_x=$X main_y=$Y main_w=$WIDTH main_h=$HEIGHT
eval "$(xdotool getwindowgeometry --shell "$(statistics_window)")"
if [ "$X" -lt $((main_x + main_w)) ] && [ $((X + WIDTH)) -gt "$main_x" ] &&
  [ "$Y" -lt $((main_y + main_h)) ] && [ $((Y + HEIGHT)) -gt "$main_y" ]; then
  fail "the statistics window covers the main window"
fi
xdotool mousemove --window "$window" 120 300 click 3
sleep 0.5
xdotool key Up Return
wait_for 1 about_windows || fail "the main window's menu did not answer with statistics open"
xdotool key Escape
wait_for 0 about_windows || fail "the About box did not end"
echo "PASS"
