#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the real window under a virtual display after a few clicks, into docs/screenshot.png.
# Usage: tools/screenshot.sh [build folder]   (run `make` first)
set -euo pipefail
cd "$(dirname "$0")/.."
program="${1:-build}/bin/wheelwatcher"
output=docs/screenshot.png

scratch=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch"  # never touch the user's own settings
export DISPLAY=:97
Xvfb "$DISPLAY" -screen 0 640x720x24 -nolisten tcp &
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# System 4 bets a number, a dozen or column and an even chance, so the picture shows all three.
mkdir -p "$XDG_CONFIG_HOME/KORMEL"
printf '[Settings]\nSYSTEM=4\n' >"$XDG_CONFIG_HOME/KORMEL/Wheelwatcher.conf"
LANG=en_US.UTF-8 QT_QPA_PLATFORM=xcb "$program" 2>/dev/null &
window=$(xdotool search --sync --onlyvisible --name "Wheelwatcher")
sleep 1

click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
click 110 245   # 17
click 140 188   # 12
click 113 60    # 0
click 80 300    # 22
click 110 130   # 5
# Leave the mouse over a number, and keep the shot taken in a showing phase of the blink: the one
# whose number panel has more lit dots.
xdotool mousemove --window "$window" 110 245
sleep 2
lit() { convert "$1" -crop 30x19+14+54 -format "%[fx:mean]" info:; }
import -window "$window" "$scratch/first.png"
sleep 0.5
import -window "$window" "$scratch/second.png"
if awk "BEGIN { exit !($(lit "$scratch/first.png") >= $(lit "$scratch/second.png")) }"; then
  cp "$scratch/first.png" "$output"
else
  cp "$scratch/second.png" "$output"
fi
echo "wrote $output"
