#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Opens the statistics window of the real program on screens of common sizes, with the table in
# several places, without a window manager and under openbox: the window must lie wholly on the
# screen (frame included), and beside the table wherever the screen has room for it there.
# Usage: statistics_placement_test.sh <wheelwatcher executable>. Exit 77 (skipped) without Xvfb or
# xdotool; the openbox half is left out when openbox is missing.
set -uo pipefail
program="$1"
for tool in Xvfb xdotool xprop xwininfo; do command -v "$tool" >/dev/null || exit 77; done

source "$(dirname "$0")/x11_session.sh"
export XDG_CONFIG_HOME="$scratch"
export http_proxy=http://127.0.0.1:9  # the update check meets a closed port, never the network

# left top right bottom of a window's frame, "0 0 0 0" without a window manager.
frame_extents() {
  local extents
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -oE '[0-9]+(, [0-9]+){3}' | tr -d ,)
  echo "${extents:-0 0 0 0}"
}

# A window's frame as "x y width height", from where the X server has the window itself
# (xdotool's position counts a window manager's frame twice).
frame_of() {
  local x y width height left top right bottom
  read -r x y width height <<<"$(xwininfo -id "$1" |
    awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
         /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print x, y, w, h}')"
  read -r left right top bottom <<<"$(frame_extents "$1")"
  echo "$((x - left)) $((y - top)) $((width + left + right)) $((height + top + bottom))"
}

# screen, where the table's frame goes, and whether the statistics window fits beside it there.
cases=(
  "1920x1080 100 50 beside"
  "1920x1080 820 50 beside"
  "1920x1080 1620 300 beside"
  "1366x768 0 0 beside"
  "1366x768 540 100 beside"
  "1366x768 1076 150 beside"
  "1024x768 0 0 beside"
  "1024x768 367 84 over"
  "1024x768 734 160 beside"
)

run_cases() {
  local window_manager="$1" row size table_x table_y expect width height wm_pid pid
  for row in "${cases[@]}"; do
    read -r size table_x table_y expect <<<"$row"
    width=${size%x*} height=${size#*x} wm_pid=""
    start_display "$size"
    local display_pid=${background_pids[-1]}
    if [ "$window_manager" = openbox ]; then
      openbox --sm-disable >/dev/null 2>&1 &
      wm_pid=$!
      background_pids+=("$wm_pid")
      sleep 0.5
    fi
    QT_QPA_PLATFORM=xcb "$program" 2>/dev/null &
    local program_pid=$!
    background_pids+=("$program_pid")
    local window
    window=$(timeout 10 xdotool search --sync --onlyvisible --name "Wheelwatcher" | head -n1)
    [ -n "$window" ] || fail "$window_manager $row: the window did not appear"
    # The window manager may put the frame a few pixels off: the checks take it where it is.
    xdotool windowmove "$window" "$table_x" "$table_y"
    sleep 0.3
    xdotool mousemove --window "$window" 120 300 click 3
    sleep 0.5
    xdotool key Up Up Return
    local statistics=""
    for _ in $(seq 50); do
      statistics=$(xdotool search --onlyvisible --name "^Wheelwatcher Statistics$" | head -n1)
      [ -n "$statistics" ] && break
      sleep 0.1
    done
    [ -n "$statistics" ] || fail "$window_manager $row: the statistics window did not open"
    sleep 0.5  # the window manager frames and places it
    local tx ty tw th sx sy sw sh
    read -r tx ty tw th <<<"$(frame_of "$window")"
    read -r sx sy sw sh <<<"$(frame_of "$statistics")"
    echo "$window_manager $row: table $tx,$ty ${tw}x$th; statistics $sx,$sy ${sw}x$sh"
    if [ "$sx" -lt 0 ] || [ "$sy" -lt 0 ] || [ $((sx + sw)) -gt "$width" ] ||
      [ $((sy + sh)) -gt "$height" ]; then
      fail "$window_manager $row: the statistics window runs off the screen"
    fi
    local overlaps=no
    if [ "$sx" -lt $((tx + tw)) ] && [ $((sx + sw)) -gt "$tx" ] &&
      [ "$sy" -lt $((ty + th)) ] && [ $((sy + sh)) -gt "$ty" ]; then
      overlaps=yes
    fi
    [ "$expect" = beside ] && [ "$overlaps" = yes ] &&
      fail "$window_manager $row: the statistics window covers the table though there is room"
    # Each case has a screen of its own size: the program, the window manager and the display go.
    for pid in "$program_pid" $wm_pid "$display_pid"; do
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
    done
    rm -f "$scratch/display"
  done
}

run_cases none
if command -v openbox >/dev/null; then run_cases openbox; fi
echo "PASS"
