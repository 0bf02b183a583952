#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the real program on a virtual X display, where the window manager reads its caption, its
# window type and state, and the About box and the statistics window are reached through the
# window's menu: what the offscreen tests cannot see.
# Usage: window_on_x11_test.sh <wheelwatcher executable>. Exit 77 (skipped) without Xvfb or xdotool.
set -uo pipefail
program="$1"
for tool in Xvfb xdotool xprop import; do command -v "$tool" >/dev/null || exit 77; done

source "$(dirname "$0")/x11_session.sh"
start_display 800x720
export XDG_CONFIG_HOME="$scratch"
export http_proxy=http://127.0.0.1:9  # the update check meets a closed port, never the network

QT_QPA_PLATFORM=xcb "$program" 2>/dev/null &
program_pid=$!
background_pids+=("$program_pid")
window=$(timeout 10 xdotool search --sync --onlyvisible --name "Wheelwatcher" | head -n1)
[ -n "$window" ] || fail "the window did not appear"
about_windows() { xdotool search --onlyvisible --name "^About Wheelwatcher$" | wc -l; }

# The caption the window manager shows, blanks included and nothing appended.
wait_for "V 5.004 Wheelwatcher  " 40 xdotool getwindowname "$window" || fail "caption"

# A normal window of its own in the task list, always on top, not modal and not transient for any
# other window; fixed in size, with a minimise box and no maximise box.
property() { xprop -id "$window" "$1"; }
[ "$(property _NET_WM_WINDOW_TYPE)" = "_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_NORMAL" ] ||
  fail "window type: $(property _NET_WM_WINDOW_TYPE)"
property WM_TRANSIENT_FOR | grep -q "not found" || fail "$(property WM_TRANSIENT_FOR)"
state=$(property _NET_WM_STATE)
[[ "$state" == *_NET_WM_STATE_ABOVE* ]] || fail "not above other windows: $state"
[[ "$state" != *_NET_WM_STATE_MODAL* && "$state" != *SKIP_TASKBAR* ]] || fail "state: $state"
property WM_NORMAL_HINTS | grep -q "minimum size: 280 by 560" || fail "$(property WM_NORMAL_HINTS)"
property WM_NORMAL_HINTS | grep -q "maximum size: 280 by 560" || fail "$(property WM_NORMAL_HINTS)"
motif_functions=$(property _MOTIF_WM_HINTS | grep -oE '0x[0-9a-f]+' | sed -n 2p)
((motif_functions & 0x8)) && ! ((motif_functions & 0x10)) || fail "$(property _MOTIF_WM_HINTS)"

# Enter and Escape neither close the window nor press anything, with the pointer resting on 17.
xdotool mousemove --window "$window" 50 150 click 1 mousemove --window "$window" 110 245
wait_for "$window" 20 xdotool getwindowfocus || fail "a click did not give the window the focus"
before=$(status_panel "$window")
xdotool key Return Escape KP_Enter
sleep 0.3
xdotool search --onlyvisible --name "Wheelwatcher" | grep -qx "$window" || fail "a key closed it"
[ "$(status_panel "$window")" = "$before" ] || fail "a key pressed something"

for key in Return Escape; do
  xdotool mousemove --window "$window" 120 300 click 3
  sleep 0.5
  xdotool key Up Return  # the About item is the menu's last
  wait_for 1 40 about_windows || fail "the About box did not open"
  xdotool key "$key"
  wait_for 0 40 about_windows || fail "$key did not end the About box"
done
kill -0 "$program_pid" 2>/dev/null || fail "the program ended with its About box"

# Statistics..., the item above About, opens a second window beside the main one, never over it,
# and the main window stays in play: its menu still opens the About box.
statistics_window() { xdotool search --onlyvisible --name "^Wheelwatcher Statistics$" | head -n1; }
# At the screen's left edge, so that the 800 pixels leave room beside it (placements on screens of
# every size: statistics_placement_test.sh).
xdotool windowmove "$window" 0 0
sleep 0.3
xdotool mousemove --window "$window" 120 300 click 3
sleep 0.5
xdotool key Up Up Return
wait_for 1 40 sh -c 'xdotool search --onlyvisible --name "^Wheelwatcher Statistics$" | wc -l' ||
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
wait_for 1 40 about_windows || fail "the main window's menu did not answer with statistics open"
xdotool key Escape
wait_for 0 40 about_windows || fail "the About box did not end"

# Close from the window's menu: the setting is written and the program ends.
xdotool mousemove --window "$window" 120 300 click 3
sleep 0.5
xdotool key Down Down Return  # Minimize, Close
program_running() { kill -0 "$program_pid" 2>/dev/null && echo running; }
wait_for "" 40 program_running || fail "the program did not end when its window closed"
[ "$(cat "$scratch/KORMEL/Wheelwatcher.conf")" = $'[Settings]\nSYSTEM=1' ] ||
  fail "setting at close: $(cat "$scratch/KORMEL/Wheelwatcher.conf")"
echo "PASS"
