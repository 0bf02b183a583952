#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A session that survives SIGKILL: the real program is clicked through a scripted session of
# numbers and REWINDs with real X input, killed at random moments, started again and resumed
# through its window menu with real keys, until the script is done. Then the window, read through
# AT-SPI as a screen reader reads it, must show the table of the same script played without a
# break on the random bytes the journal recorded (tests/support/journal_table).
# Usage: journal_resume_test.sh <wheelwatcher> <journal_table>. Exit 77 (skipped) without Xvfb,
# xdotool, dbus-run-session, the AT-SPI bus launcher or Debian's python3-pyatspi.
set -uo pipefail
program="$1"
journal_table="$2"
here="$(cd "$(dirname "$0")" && pwd)"
for tool in Xvfb xdotool dbus-run-session; do command -v "$tool" >/dev/null || exit 77; done
[ -x /usr/libexec/at-spi-bus-launcher ] && /usr/bin/python3 -c "import pyatspi" 2>/dev/null || exit 77

if [ -z "${WHEELWATCHER_IN_TEST_SESSION:-}" ]; then
  WHEELWATCHER_IN_TEST_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi

source "$here/x11_session.sh"
start_display 800x720
export XDG_CONFIG_HOME="$scratch/config"
export http_proxy=http://127.0.0.1:9  # the update check meets a closed port, never the network
export LANG=en_US.UTF-8 LC_ALL= LC_MONETARY=  # dollars, as the expected table writes them
journals="$XDG_STATE_HOME/wheelwatcher"

# The script: 70 presses, numbers with a REWIND now and then, never first. The seed is printed so
# that a failure can be played again (JOURNAL_TEST_SEED).
seed=${JOURNAL_TEST_SEED:-$RANDOM}
echo "seed $seed"
RANDOM=$seed
script=()
for i in $(seq 0 69); do
  if ((i > 0 && RANDOM % 9 == 0)); then script+=(R); else script+=($((RANDOM % 37))); fi
done

# Where a press lands in the window: the middle of a number's box, or REWIND.
press_arguments() {
  local window="$1" press="$2"
  if [ "$press" = R ]; then
    echo "mousemove --window $window 169 534 click 1"
  elif [ "$press" = 0 ]; then
    echo "mousemove --window $window 109 72 click 1"
  else
    local columns=(80 110 140)
    echo "mousemove --window $window ${columns[$(((press - 1) % 3))]} $((100 + (press - 1) / 3 * 29)) click 1"
  fi
}

# Presses script entry $1; a press on the place just pressed waits out the double-click time, so
# that it is a press of its own.
press() {
  ((${1} > 0)) && [ "${script[$1]}" = "${script[$1 - 1]}" ] && sleep 0.6
  xdotool $(press_arguments "$window" "${script[$1]}")
}

newest_journal() { ls "$journals"/session-*.journal 2>/dev/null | tail -n1; }
# The presses the newest journal holds: each spin and REWIND after its session began.
presses_kept() {
  local journal
  journal=$(newest_journal)
  [ -n "$journal" ] && grep -cE '^(spin|rewind) ' "$journal" || echo 0
}

start_program() {
  QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" 2>/dev/null &
  program_pid=$!
  background_pids+=("$program_pid")
  window=$(timeout 10 xdotool search --sync --onlyvisible --name "Wheelwatcher" | head -n1)
  [ -n "$window" ] || fail "the window did not appear"
  sleep 0.8  # the journal is read once the window is painted
}

# Resumes through the window menu: Minimize, Close, then "Resume last session (N spins)".
resume() {
  local kept="$1" before
  before=$(newest_journal)
  xdotool mousemove --window "$window" 120 300 click 3
  sleep 0.5
  xdotool key Down Down Down Return
  wait_for 1 50 bash -c "[ \"\$(ls '$journals'/session-*.journal | tail -n1)\" != '$before' ] && echo 1" ||
    fail "choosing the menu item resumed nothing"
  [ "$(presses_kept)" = "$kept" ] || fail "the resumed journal holds $(presses_kept) presses, not $kept"
}

resume_if_kept() {
  local kept
  kept=$(presses_kept)
  ((kept == 0)) || resume "$kept"
}

start_program
resume_if_kept
for kill_round in 1 2 3; do
  (
    for ((i = $(presses_kept); i < ${#script[@]}; ++i)); do
      press "$i" 2>/dev/null || exit 0
      sleep 0.04
    done
  ) &
  presser=$!
  delay=$((RANDOM % 13 + 2))  # 0.2 to 1.4 s into the presses
  sleep "$((delay / 10)).$((delay % 10))"
  kill -KILL "$program_pid"
  kill "$presser" 2>/dev/null
  wait "$program_pid" "$presser" 2>/dev/null
  echo "killed after $(presses_kept) of ${#script[@]} presses"
  start_program
  resume_if_kept
done

# The rest of the script without a break, then the whole table against the one never interrupted.
for ((i = $(presses_kept); i < ${#script[@]}; ++i)); do
  press "$i"
  sleep 0.05
done
wait_for "${#script[@]}" 50 presses_kept || fail "not every press reached the journal"
sleep 0.5
"$journal_table" "$(newest_journal)" "${script[@]}" >"$scratch/expected" ||
  fail "the journal does not hold the script's presses"
timeout 60 /usr/bin/python3 "$here/compare_table_atspi.py" "$scratch/expected"
