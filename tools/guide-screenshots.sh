#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the user guide's pictures from the real window on a virtual display, into docs/guide/:
# the fresh window and its first advice, each system after a few spins, the STAKE and SYSTEM
# choices before the first spin, and the save dialog behind SAVE.
# Usage: tools/guide-screenshots.sh [build folder]   (run `make` first)
set -euo pipefail
cd "$(dirname "$0")/.."
program="$(pwd)/${1:-build}/bin/wheelwatcher"
output="$(pwd)/docs/guide"

scratch=$(mktemp -d)
cleanup() {
  [ -n "${program_pid:-}" ] && kill "$program_pid" 2>/dev/null
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$scratch/display")"
export LANG=en_US.UTF-8                 # amounts in dollars
export http_proxy=http://127.0.0.1:9    # the update check goes nowhere
export XDG_CONFIG_HOME="$scratch/config" # never touch the user's own settings

# Starts the program with a stored system; run from the scratch folder, where a save would land.
start() {
  mkdir -p "$XDG_CONFIG_HOME/KORMEL"
  printf '[Settings]\nSYSTEM=%s\n' "$1" >"$XDG_CONFIG_HOME/KORMEL/Wheelwatcher.conf"
  (cd "$scratch" && exec env QT_QPA_PLATFORM=xcb "$program" 2>/dev/null) &
  program_pid=$!
  window=$(timeout 10 xdotool search --sync --onlyvisible --name "Wheelwatcher" | head -n1)
  mark=$(date +%s%N)
}
stop() {
  kill "$program_pid" 2>/dev/null || true
  wait "$program_pid" 2>/dev/null || true
  program_pid=""
}
click() {
  xdotool mousemove --window "$window" "$1" "$2" click 1
  sleep 0.4
  mark=$(date +%s%N)
}
since_mark() { echo $((($(date +%s%N) - mark) / 1000000)); }

# Grabs the window until the given milliseconds after the last mark, each frame named by its time.
frames_until() {
  rm -f "$scratch"/frame-*.png
  while [ "$(since_mark)" -lt "$1" ]; do
    local at
    at=$(since_mark)
    import -window "$window" "$scratch/frame-$at.png"
  done
}

# Brightness of the number panel and the outside-bet boxes: higher while the advice is lit.
lit() { convert "$1" -crop 169x426+14+54 -format "%[fx:mean]" info:; }

# Keeps, as docs/guide/NAME.png, the frame of a lit blink phase taken nearest the wanted time.
keep() {
  local name=$1 wanted=$2 low=1 high=0 best="" best_distance=1000000
  for frame in "$scratch"/frame-*.png; do
    local value
    value=$(lit "$frame")
    low=$(awk "BEGIN { print ($value < $low) ? $value : $low }")
    high=$(awk "BEGIN { print ($value > $high) ? $value : $high }")
  done
  for frame in "$scratch"/frame-*.png; do
    local at distance
    at=${frame##*frame-}
    at=${at%.png}
    distance=$((at > wanted ? at - wanted : wanted - at))
    if awk "BEGIN { exit !($(lit "$frame") >= ($low + $high) / 2) }" &&
      [ "$distance" -lt "$best_distance" ]; then
      best=$frame
      best_distance=$distance
    fi
  done
  cp "$best" "$output/$name.png"
  echo "wrote $output/$name.png"
}

# REWIND shows the current advice again from its start, without the welcome or a win message,
# so the moment its words fill the ticker is known: 150 ms a character.
rewind() { click 170 536; }

# A fresh start with the welcome line; then the first advice that follows it, shown at once.
start 1
frames_until 2500
keep window-fresh 1100
rewind
frames_until 8000
keep window-first-advice 6600
stop

# Each system after six spins (a seventh entered and taken back), as "Your next bet is" shows.
for system in 1 2 3 4 5; do
  start "$system"
  sleep 1.2
  for point in "110 245" "140 188" "113 60" "80 300" "110 130" "140 390" "80 390"; do
    # shellcheck disable=SC2086
    click $point
  done
  rewind
  frames_until 2500
  keep "system-$system" 1000
  stop
done

# STAKE pressed three times before the first spin: the base stake steps 1, 2, 3.
start 1
sleep 1.2
for _ in 1 2 3; do click 242 430; done
frames_until 1500
keep choosing-stake 300
stop

# SYSTEM pressed three times before the first spin: KAVRI is shown, then MODENT, then TRAVO.
start 1
sleep 1.2
for _ in 1 2 3; do click 242 395; done
frames_until 1500
keep choosing-system 300
stop

# After a spin SYSTEM reads SAVE; a press opens the save dialog with its default name. Only the
# dialog's foot is kept: the folder above it would show this script's scratch folder.
start 2
sleep 1.2
click 110 245
click 242 395
dialog=$(timeout 10 xdotool search --sync --onlyvisible --name "Save" | head -n1)
sleep 1
import -window "$dialog" "$scratch/dialog.png"
convert "$scratch/dialog.png" -gravity south -crop 100%x16%+0+0 +repage "$output/save-dialog.png"
echo "wrote $output/save-dialog.png"
stop
