#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# HELP pressed on the real program: the desktop's opener is handed the guide built beside the
# program, a file that is there, with no network needed.
# Usage: help_opens_guide_test.sh <wheelwatcher executable> <the guide's path from its folder>.
# Exit 77 (skipped) without Xvfb or xdotool.
set -uo pipefail
program="$1"
guide_from_program="$2"
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77

source "$(dirname "$0")/x11_session.sh"
start_display 800x720
export XDG_CONFIG_HOME="$scratch"
record_opened_addresses

http_proxy=http://127.0.0.1:9 QT_QPA_PLATFORM=xcb "$program" 2>/dev/null &
program_pid=$!
background_pids+=("$program_pid")
window=$(timeout 10 xdotool search --sync --onlyvisible --name "Wheelwatcher" | head -n1)
[ -n "$window" ] || fail "the window did not appear"
sleep 0.5

xdotool mousemove --window "$window" 242 360 click 1 # HELP
for _ in $(seq 50); do [ -s "$scratch/opened" ] && break; sleep 0.1; done
[ -s "$scratch/opened" ] || fail "nothing was handed to the opener"

page=$(realpath -m "$(dirname "$program")/$guide_from_program")
[ "$(cat "$scratch/opened")" = "file://$page" ] || fail "opened [$(cat "$scratch/opened")], wanted [file://$page]"
[ -s "$page" ] || fail "the guide is not at $page"
echo "PASS"
