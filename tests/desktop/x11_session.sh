# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the desktop tests (sourced): a scratch folder, a virtual X display of its own, and
# helpers to wait for what the program shows. Everything started here ends with the script.

scratch=$(mktemp -d)
# The program's runtime folder (its single-instance socket) is the test's own.
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# So is its state folder: the session journals of a test never meet the user's.
export XDG_STATE_HOME="$scratch/state"
background_pids=()
cleanup() {
  local pid
  for pid in "${background_pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  exit 1
}

# Starts Xvfb on a free display (-displayfd picks one, so parallel runs do not collide) and exports
# DISPLAY. Usage: start_display <width>x<height>
start_display() {
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$scratch/display" 2>/dev/null &
  background_pids+=($!)
  for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.05; done
  [ -s "$scratch/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$scratch/display")"
}

# Polls until a command's output equals the expected text; prints the last output otherwise.
# Usage: wait_for <expected> <tries of 0.1 s> <command...>
wait_for() {
  local expected="$1" tries="$2" actual=""
  shift 2
  for _ in $(seq "$tries"); do
    actual=$("$@" 2>/dev/null)
    [ "$actual" = "$expected" ] && return 0
    sleep 0.1
  done
  echo "expected [$expected], got [$actual]"
  return 1
}

# A digest of what the status panel (SPIN, STAKE or the system's name) shows in a window of the
# program, to tell whether a press changed it.
status_panel() {
  import -window "$1" png:- 2>/dev/null | convert - -crop 118x19+8+493 +repage rgb:- | md5sum
}

# Puts a stand-in for the desktop's opener first on PATH (Qt hands addresses to xdg-open when no
# desktop environment runs); each address it is given becomes a line of $scratch/opened.
record_opened_addresses() {
  mkdir -p "$scratch/bin"
  printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s/opened"\n' "$scratch" >"$scratch/bin/xdg-open"
  chmod +x "$scratch/bin/xdg-open"
  export PATH="$scratch/bin:$PATH"
}
