#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program with ALSA's "default" device writing into a FIFO nobody reads, as a stalled sound
# server: the first click blocks the sound for good, yet every press is still handled at once and
# Close from the window's menu still ends the program.
# Usage: blocked_sound_test.sh <wheelwatcher executable>. Exit 77 (skipped) without Xvfb, xdotool,
# import or convert.
set -uo pipefail
program="$1"
for tool in Xvfb xdotool import convert; do command -v "$tool" >/dev/null || exit 77; done

source "$(dirname "$0")/x11_session.sh"
start_display 800x720
export XDG_CONFIG_HOME="$scratch"
export http_proxy=http://127.0.0.1:9 # the update check meets a closed port, never the network
mkfifo "$scratch/device.fifo"
printf 'pcm.!default { type file; slave.pcm { type null }; file "%s"; format "raw" }\n' \
  "$scratch/device.fifo" >"$scratch/asound.conf"
export ALSA_CONFIG_PATH="$scratch/asound.conf"

QT_QPA_PLATFORM=xcb "$program" 2>/dev/null &
program_pid=$!
background_pids+=("$program_pid")
window=$(timeout 10 xdotool search --sync --onlyvisible --name "Wheelwatcher" | head -n1)
[ -n "$window" ] || fail "the window did not appear"
sleep 0.5

# Each press on a number enters a spin, so the status panel (SPIN 1, 2, 3) changes every time.
# 17, 0, 17: no two presses in a row at one place, which could make a double-click.
changed_from() { [ "$(status_panel "$window")" != "$1" ] && echo changed; }
for place in "110 245" "113 60" "110 245"; do
  before=$(status_panel "$window")
  xdotool mousemove --window "$window" $place click 1
  wait_for changed 20 changed_from "$before" || fail "the press at $place was not handled"
done

xdotool mousemove --window "$window" 120 300 click 3
sleep 0.5
xdotool key Down Down Return # Minimize, Close
program_running() { kill -0 "$program_pid" 2>/dev/null && echo running; }
wait_for "" 40 program_running || fail "the program did not end when its window closed"
echo "PASS"
