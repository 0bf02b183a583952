#!/usr/bin/env bash
# HELP pressed on the real program: the desktop's opener is handed the guide built beside the
# program, a file that is there, with no network needed.
# Usage: help_opens_guide_test.sh <wheelwatcher executable> <the guide's path from its folder>.
# Exit 77 (skipped) without Xvfb or xdotool.
set -uo pipefail
program="$1"
guide_from_program="$2"
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

# Stands in for the desktop's opener, which Qt finds on the PATH: it writes down what it is given.
mkdir "$scratch/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s/opened"\n' "$scratch" >"$scratch/bin/xdg-open"
chmod +x "$scratch/bin/xdg-open"
export PATH="$scratch/bin:$PATH"

Xvfb -displayfd 3 -screen 0 800x720x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.05; done
[ -s "$scratch/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$scratch/display")"
export XDG_CONFIG_HOME="$scratch"

http_proxy=http://127.0.0.1:9 QT_QPA_PLATFORM=xcb "$program" 2>/dev/null &
program_pid=$!
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
