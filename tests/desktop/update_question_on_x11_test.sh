#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The update question of the real program on a virtual X display, answered by a real click or key:
# a loopback server offers a newer version (reached as the program's HTTP proxy), and a stand-in
# for xdg-open records what the program asks the desktop to open. Runs without a window manager,
# then under openbox when it is installed.
# Usage: update_question_on_x11_test.sh <wheelwatcher executable>. Exit 77 (skipped) without Xvfb,
# xdotool, xprop or ImageMagick.
set -uo pipefail
program="$1"
for tool in Xvfb xdotool xprop xwininfo import; do command -v "$tool" >/dev/null || exit 77; done

source "$(dirname "$0")/x11_session.sh"
start_display 800x720
export XDG_CONFIG_HOME="$scratch"
download="http://downloads.example.com/wheelwatcher-5.0.0.5.tar.gz"
cat >"$scratch/update.xml" <<DOCUMENT
<?xml version="1.0"?>
<Update>
  <Program_Name>Wheelwatcher</Program_Name>
  <Program_Version>5.0.0.5</Program_Version>
  <Primary_Download_URL>$download</Primary_Download_URL>
</Update>
DOCUMENT
/usr/bin/python3 "$(dirname "$0")/update_document_server.py" "$scratch/port" "$scratch/update.xml" \
  2>/dev/null &
background_pids+=($!)
for _ in $(seq 100); do [ -s "$scratch/port" ] && break; sleep 0.05; done
[ -s "$scratch/port" ] || fail "the update server did not start"

record_opened_addresses

caption() { xdotool getwindowname "$1"; }
busy_caption() { [[ "$(caption "$1")" == Updating* ]] && echo busy; }
questions() { xdotool search --onlyvisible --name "^Wheelwatcher$" 2>/dev/null | wc -l; }
opened() { cat "$scratch/opened" 2>/dev/null; }

# Usage: answer_question <label> <answer: yes|no|Return|Escape|close-window> <expected opened address
# or "">
answer_question() {
  local label="$1" answer="$2" expected="$3"
  rm -f "$scratch/opened"
  env -u no_proxy -u NO_PROXY PATH="$scratch/bin:$PATH" \
    http_proxy="http://127.0.0.1:$(cat "$scratch/port")" QT_QPA_PLATFORM=xcb "$program" 2>/dev/null &
  local program_pid=$!
  background_pids+=("$program_pid")
  local window question
  window=$(timeout 10 xdotool search --sync --onlyvisible --name "^(V .*Wheelwatcher  |Updating.*)$" | head -n1)
  [ -n "$window" ] || fail "$label: the window did not appear"
  question=$(timeout 10 xdotool search --sync --onlyvisible --name "^Wheelwatcher$" | head -n1)
  [ -n "$question" ] || fail "$label: the question did not appear"
  wait_for busy 15 busy_caption "$window" || fail "$label: no busy caption while asking"
  check_question_in_front "$label" "$window" "$question"
  [ "$stacking" = stacked_without_manager ] || check_managed_window "$label" "$window"

  # Play goes on while the question waits.
  local before
  before=$(status_panel "$window")
  xdotool mousemove --window "$window" 80 420 click 1  # number 34, below the question
  sleep 0.3
  [ "$(status_panel "$window")" != "$before" ] || fail "$label: a press on 34 was blocked"

  # The buttons sit at the question's lower right, Yes before No (Qt's order without a desktop
  # environment), each about 80 pixels wide.
  local width height
  eval "$(xdotool getwindowgeometry --shell "$question")"
  width=$WIDTH height=$HEIGHT
  case "$answer" in
    close-window)
      # Closing the window from its menu ends the program, the open question with it.
      xdotool mousemove --window "$window" 80 500 click 3
      sleep 0.5
      xdotool key Down Down Return
      for _ in $(seq 30); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
      ! kill -0 "$program_pid" 2>/dev/null || fail "$label: the program did not end"
      [ -z "$(opened)" ] || fail "$label: opened $(opened)"
      return
      ;;
    yes) xdotool mousemove --window "$question" $((width - 137)) $((height - 24)) click 1 ;;
    no) xdotool mousemove --window "$question" $((width - 51)) $((height - 24)) click 1 ;;
    *)
      # The press on the main window took the focus; a click on the question's text gives it back.
      xdotool mousemove --window "$question" 60 20 click 1
      sleep 0.2
      xdotool key "$answer"
      ;;
  esac
  wait_for 0 10 questions || fail "$label: the question stayed open"
  wait_for "V 5.004 Wheelwatcher  " 15 caption "$window" || fail "$label: caption after the answer"
  sleep 0.5  # the opener runs detached
  [ "$(opened)" = "$expected" ] || fail "$label: opened [$(opened)], expected [$expected]"
  kill -0 "$program_pid" 2>/dev/null || fail "$label: the program ended"
  kill "$program_pid"
  wait "$program_pid" 2>/dev/null
}

# Without a window manager the last window mapped lies on top; xwininfo lists the top first.
stacked_without_manager() {
  xwininfo -root -children | grep -oE '^ +0x[0-9a-f]+' | tr -d ' ' |
    while read -r id; do echo $((id)); done
}
# A window manager keeps its own order, bottom first.
stacked_by_manager() {
  xprop -root _NET_CLIENT_LIST_STACKING | grep -oE '0x[0-9a-f]+' | tac |
    while read -r id; do echo $((id)); done
}
stacking=stacked_without_manager
check_question_in_front() {
  local label="$1" window="$2" question="$3" order
  order=$($stacking | grep -xE "$window|$question" | tr '\n' ' ')
  [ "$order" = "$question $window " ] || fail "$label: the question is not in front ($order)"
}

# Under a window manager: listed in the task list, can be minimised, cannot be maximised.
check_managed_window() {
  local label="$1" window="$2" actions
  xprop -root _NET_CLIENT_LIST | grep -qi "$(printf '0x%x' "$window")" ||
    fail "$label: the window is not in the task list"
  actions=$(xprop -id "$window" _NET_WM_ALLOWED_ACTIONS)
  [[ "$actions" == *_NET_WM_ACTION_MINIMIZE* && "$actions" != *MAXIMIZE* ]] ||
    fail "$label: $actions"
}

answer_question "no window manager, click on Yes" yes "$download"
answer_question "no window manager, click on No" no ""
answer_question "no window manager, Escape" Escape ""
answer_question "no window manager, the window closed while asking" close-window ""

if ! command -v openbox >/dev/null; then
  echo "SKIPPED under a window manager: openbox is not installed"
  echo "PASS"
  exit 0
fi
openbox --sm-disable >/dev/null 2>&1 &
background_pids+=($!)
wait_for 1 50 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -c "window id"' ||
  fail "openbox did not start"
stacking=stacked_by_manager
answer_question "openbox, Return" Return "$download"
answer_question "openbox, click on No" no ""
echo "PASS"
