#!/usr/bin/env bash
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

QT_QPA_PLATFORM=xcb "$program" &
window=$(xdotool search --sync --onlyvisible --name "Wheelwatcher")
sleep 1

click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
click 110 245   # 17
click 140 188   # 12
click 113 60    # 0
click 80 300    # 22
click 110 130   # 5
# Leave the mouse over a number, and catch a showing phase of the blink.
xdotool mousemove --window "$window" 110 245
sleep 2.3
import -window "$window" "$output"
echo "wrote $output"
