# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the tests that drive the real program on a virtual X display. Starts Xvfb on a free
# display, points the program's settings and runtime folders into a scratch folder, and removes
# everything again on exit. Exits 77 (skipped) without Xvfb or xdotool. A test that needs a larger
# screen than 800x720 sets screen_size before sourcing.
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77

scratch=$(mktemp -d)
started_pids=()
cleanup() {
  local i
  for ((i = ${#started_pids[@]} - 1; i >= 0; i--)); do kill "${started_pids[i]}" 2>/dev/null; done
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

# -displayfd picks a free display, so parallel runs do not collide.
Xvfb -displayfd 3 -screen 0 "${screen_size:-800x720}x24" -nolisten tcp 3>"$scratch/display" 2>/dev/null &
started_pids+=($!)
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.05; done
[ -s "$scratch/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$scratch/display")"
export XDG_CONFIG_HOME="$scratch/config"
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb

# Polls until a command's output equals the expected text; prints the last output otherwise.
wait_for() {
  local expected="$1" actual=""
  shift
  for _ in $(seq 40); do
    actual=$("$@" 2>/dev/null)
    [ "$actual" = "$expected" ] && return 0
    sleep 0.1
  done
  echo "expected [$expected], got [$actual]"
  return 1
}
