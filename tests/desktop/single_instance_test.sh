#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program twice on a virtual X display: the second start brings the running window
# above a window that covers it and ends, leaving one process and one window. Then the running
# program is killed, as in a crash, and the socket it leaves behind does not stop the next start.
# Every way of writing DISPLAY for one display finds the one program. A runtime folder whose path
# does not fit a socket's address, folders planted at the lock's and socket's paths and a garbled
# lock file neither delay the window nor cost the one program per runtime folder and display.
# Usage: single_instance_test.sh <wheelwatcher executable>. Exit 77 (skipped) without Xvfb, xdotool
# or xmessage and xwininfo.
set -uo pipefail
program="$1"
command -v xmessage >/dev/null && command -v xwininfo >/dev/null || exit 77
for tool in Xvfb xdotool; do command -v "$tool" >/dev/null || exit 77; done
source "$(dirname "$0")/x11_session.sh"
start_display 800x720
export XDG_CONFIG_HOME="$scratch" QT_QPA_PLATFORM=xcb

wheelwatcher_windows() { xdotool search --onlyvisible --name "Wheelwatcher" 2>/dev/null; }
# The id (as xwininfo writes it) of the top-most of the two windows.
topmost() { xwininfo -root -children | grep -oE "^ +0x[0-9a-f]+ \"(cover|V [^\"]*Wheelwatcher *)\"" |
  head -n1 | awk '{print $1}'; }
hex() { printf '0x%x' "$1"; }
# Ends a program as a crash would, leaving its socket behind, and waits until its window is gone.
crash() {
  kill -KILL "$1"
  { wait "$1"; } 2>/dev/null
  wait_for 0 40 eval 'wheelwatcher_windows | wc -l' || fail "the killed program's window stayed"
}

"$program" 2>/dev/null &
first_pid=$!
background_pids+=($first_pid)
window=$(timeout 10 xdotool search --sync --onlyvisible --name "Wheelwatcher" | head -n1)
[ -n "$window" ] || fail "the window did not appear"
[ -S "$XDG_RUNTIME_DIR/wheelwatcher-${DISPLAY//:/_}.socket" ] || fail "no socket in the runtime folder"

xmessage -geometry 800x720+0+0 -name cover cover 2>/dev/null &
background_pids+=($!)
cover=$(timeout 10 xdotool search --sync --onlyvisible --classname cover | head -n1)
[ -n "$cover" ] || fail "the covering window did not appear"
wait_for "$(hex "$cover")" 40 topmost || fail "the cover is not above the window"

timeout 10 "$program" 2>/dev/null
status=$?
[ "$status" -eq 0 ] || fail "the second start ended with status $status"
wait_for "$(hex "$window")" 40 topmost || fail "the running window was not raised"
kill -0 "$first_pid" 2>/dev/null || fail "the running program ended"
[ "$(wheelwatcher_windows | wc -l)" -eq 1 ] || fail "more than one window"

# A crash leaves the socket behind; the next start must still open its window, keep running and
# take over the socket, so that a start after it gives way again.
crash "$first_pid"
"$program" 2>/dev/null &
next_pid=$!
background_pids+=($next_pid)
timeout 10 xdotool search --sync --onlyvisible --name "Wheelwatcher" >/dev/null ||
  fail "after a crash the next start opened no window"
kill -0 "$next_pid" 2>/dev/null || fail "after a crash the next start ended"
timeout 10 "$program" 2>/dev/null || fail "after a crash a further start did not give way"
[ "$(wheelwatcher_windows | wc -l)" -eq 1 ] || fail "after a crash a further start opened a window"

# However DISPLAY writes the display, it is the same one: each spelling gives way to the window.
display_number=${DISPLAY#:}
for spelling in ":$display_number.0" "unix:$display_number" "unix:$display_number.0"; do
  DISPLAY="$spelling" timeout 10 "$program" 2>/dev/null || fail "DISPLAY=$spelling did not give way"
done
[ "$(wheelwatcher_windows | wc -l)" -eq 1 ] || fail "another spelling of DISPLAY opened a window"

socket_name="wheelwatcher-${DISPLAY//:/_}.socket"
# A runtime folder too deep for a socket's address: the program starts, and a further start there
# gives way to it. No socket appears under the path cut short to fit.
long_runtime="$scratch/$(printf 'deep%.0s' {1..30})"
mkdir -m 700 "$long_runtime"
XDG_RUNTIME_DIR="$long_runtime" "$program" 2>/dev/null &
background_pids+=($!)
wait_for 2 100 eval 'wheelwatcher_windows | wc -l' || fail "with a long runtime folder no window opened"
kill -0 "${background_pids[-1]}" 2>/dev/null || fail "with a long runtime folder the program ended"
XDG_RUNTIME_DIR="$long_runtime" timeout 10 "$program" 2>/dev/null ||
  fail "with a long runtime folder a further start did not give way"
[ "$(wheelwatcher_windows | wc -l)" -eq 2 ] || fail "with a long runtime folder a further start opened a window"

# Folders planted at the lock's and the socket's paths: the window opens all the same, and a
# further start still finds it and gives way.
odd_runtime="$scratch/odd"
mkdir -m 700 "$odd_runtime"
mkdir "$odd_runtime/$socket_name" "$odd_runtime/$socket_name.lock"
XDG_RUNTIME_DIR="$odd_runtime" "$program" 2>/dev/null &
background_pids+=($!)
wait_for 3 100 eval 'wheelwatcher_windows | wc -l' || fail "with folders at the lock and socket no window opened"
XDG_RUNTIME_DIR="$odd_runtime" timeout 10 "$program" 2>/dev/null ||
  fail "with folders at the lock and socket a further start did not give way"
[ "$(wheelwatcher_windows | wc -l)" -eq 3 ] || fail "with folders at the lock and socket a further start opened a window"

# A lock file whose contents make no sense (left by another program or version) is no reason to
# wait: the window opens at once.
garbled_runtime="$scratch/garbled"
mkdir -m 700 "$garbled_runtime"
head -c 300 /dev/urandom >"$garbled_runtime/$socket_name.lock"
XDG_RUNTIME_DIR="$garbled_runtime" "$program" 2>/dev/null &
background_pids+=($!)
wait_for 4 50 eval 'wheelwatcher_windows | wc -l' || fail "with a garbled lock file no window opened"

sockets=$(find "$scratch" -type s | sort)
expected=$(printf '%s\n' "$XDG_RUNTIME_DIR/$socket_name" "$long_runtime/$socket_name" \
  "$odd_runtime/${socket_name%.socket}-2.socket" "$garbled_runtime/$socket_name" | sort)
[ "$sockets" = "$expected" ] || fail "sockets other than the running programs': $sockets"

echo "PASS"
