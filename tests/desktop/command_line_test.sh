#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program's command line without any display: --help and --version answer and end, an
# unknown argument is refused, Qt's own options are passed on, and a missing or refusing display
# gives one line and status 1 instead of Qt's abort.
# Usage: command_line_test.sh <wheelwatcher executable> <version>
set -uo pipefail
program="$1"
version="$2"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch" XDG_RUNTIME_DIR="$scratch" XDG_STATE_HOME="$scratch"
failures=0

# Runs the program with no display at all; keeps its status, output and error output.
run() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" "$program" "${arguments[@]}" \
    >"$scratch/out" 2>"$scratch/err"
  status=$?
}
# expect <wanted status> <stdout pattern> <stderr pattern>: extended regular expressions matched
# against the whole output, the last line break left out; "." matches line breaks too.
expect() {
  local wanted="$1" out_pattern="$2" err_pattern="$3"
  if [ "$status" -ne "$wanted" ] || ! [[ "$(<"$scratch/out")" =~ $out_pattern ]] ||
    ! [[ "$(<"$scratch/err")" =~ $err_pattern ]]; then
    echo "FAIL: ${arguments[*]}: status $status (wanted $wanted)"
    echo "  stdout: $(cat "$scratch/out")"
    echo "  stderr: $(cat "$scratch/err")"
    failures=$((failures + 1))
  fi
}

arguments=(--help)
run
expect 0 '^Usage: wheelwatcher \[options\].*  -h, --help .*  -v, --version ' '^$'
arguments=(-h)
run
expect 0 '^Usage: wheelwatcher' '^$'
arguments=(--version)
run
expect 0 "^wheelwatcher ${version//./\\.}\$" '^$'
arguments=(-platform offscreen -v)
run
expect 0 "^wheelwatcher ${version//./\\.}\$" '^$'

arguments=()
run
one_line=$'[^\n]*$'
expect 1 '^$' "^wheelwatcher: no display to open \\(DISPLAY and WAYLAND_DISPLAY are unset\\)$one_line"
# A display number nobody serves: the connection is refused.
display=":$((5000 + $$ % 1000))"
arguments=()
run DISPLAY="$display"
expect 1 '^$' "^wheelwatcher: cannot open the display \\(DISPLAY=$display, WAYLAND_DISPLAY unset\\)\$"

# Qt takes its own options before the program looks; anything left is refused.
arguments=(-platform offscreen --fullscreen)
run
expect 2 '^$' "unknown argument '--fullscreen'; try --help\$"
# Without a display the display is what fails first, whatever else is on the line.
arguments=(--fullscreen)
run
expect 1 '^$' "^wheelwatcher: no display to open \\(DISPLAY and WAYLAND_DISPLAY are unset\\)$one_line"
# The window starts with Qt's option, and the first-paint report closes it again.
arguments=(-platform offscreen)
run WHEELWATCHER_REPORT_FIRST_PAINT=1
expect 0 '^first-paint-ns [0-9]+ rss-kb [0-9]+ window [0-9]+$' ''

[ "$failures" -eq 0 ] && echo "PASS"
exit $((failures > 0))
