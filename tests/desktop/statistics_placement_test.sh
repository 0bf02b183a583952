#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Opens the statistics window of the real program on screens of common sizes, with the table in
# several places, without a window manager and under openbox: the window must lie wholly on the
# screen (frame included), and beside the table wherever the screen has room for it there.
# Usage: statistics_placement_test.sh <wheelwatcher executable>. Exit 77 (skipped) without Xvfb or
# xdotool; the openbox half is left out when openbox is missing.
set -uo pipefail
program="$1"
for tool in Xvfb xdotool xprop; do command -v "$tool" >/dev/null || exit 77; done

source "$(dirname "$0")/x11_session.sh"
export XDG_CONFIG_HOME="$scratch"
export http_proxy=http://127.0.0.1:9  # the update check meets a closed port, never the network

# left top right bottom of a window's frame, "0 0 0 0" without a window manager.
frame_extents() {
  local extents
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -oE '[0-9]+(, [0-9]+){3}' | tr -d ,)
  echo "${extents:-0 0 0 0}"
}

# A window's frame as "x y width height".
frame_of() {
  local X Y WIDTH HEIGHT left top right bottom
  eval "$(xdotool getwindowgeometry --shell "$1")"
  read -r left right top bottom <<<"$(frame_extents "$1")"
  echo "$((X - left)) $((Y - top)) $((WIDTH + left + right)) $((HEIGHT + top + bottom))"
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
    local left right top bottom
    read -r left right top bottom <<<"$(frame_extents "$window")"
    xdotool windowmove "$window" $((table_x + left)) $((table_y + top))
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
