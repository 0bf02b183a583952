#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program on a virtual X display at screen scales 1, 1.5 and 2: at 1 and 2 the layout is
# the picture drawn for that scale, pixel for pixel; at every scale a click on 17 at its scaled
# place enters it, so the SAVE face replaces SYSTEM (at 2 its @2x picture, pixel for pixel).
# Usage: hidpi_test.sh <wheelwatcher executable> <resources folder>. Exit 77 (skipped) without
# Xvfb, xdotool or ImageMagick.
set -uo pipefail
program="$1"
resources="$2"
command -v import >/dev/null && command -v compare >/dev/null || exit 77
for tool in Xvfb xdotool; do command -v "$tool" >/dev/null || exit 77; done
source "$(dirname "$0")/x11_session.sh"
start_display 1200x1200  # the window at scale 2 is 560x1120
export XDG_CONFIG_HOME="$scratch" QT_QPA_PLATFORM=xcb

# The number of pixels in which a logical rectangle of the window differs from a picture.
differing_pixels() {
  local shot="$1" scale="$2" x="$3" y="$4" width="$5" height="$6" picture="$7"
  local crop
  crop="$(awk "BEGIN { s = $scale; print $width * s \"x\" $height * s \"+\" $x * s \"+\" $y * s }")"
  convert "$shot" -crop "$crop" +repage "$scratch/crop.png"
  compare -metric AE "$scratch/crop.png" "$picture" null: 2>&1
}

for scale in 1 1.5 2; do
  suffix=""
  [ "$scale" = 2 ] && suffix="@2x"
  QT_SCALE_FACTOR="$scale" "$program" 2>/dev/null &
  pid=$!
  background_pids+=($pid)
  window=$(timeout 10 xdotool search --sync --onlyvisible --name "Wheelwatcher" | head -n1)
  [ -n "$window" ] || fail "scale $scale: the window did not appear"
  xdotool mousemove 0 0
  sleep 0.5
  import -window "$window" "$scratch/before.png"
  if [ "$scale" != 1.5 ]; then
    # The number grid: no panel or highlight ever covers it.
    convert "$resources/layout$suffix.png" -crop "$(awk "BEGIN { s = $scale;
      print 85 * s \"x\" 345 * s \"+\" 68 * s \"+\" 88 * s }")" +repage "$scratch/grid.png"
    differs=$(differing_pixels "$scratch/before.png" "$scale" 68 88 85 345 "$scratch/grid.png")
    [ "$differs" = 0 ] || fail "scale $scale: the number grid differs in $differs pixels"
  fi

  # 17 lies at (110, 245) in logical pixels.
  xdotool mousemove --window "$window" "$(awk "BEGIN { print int(110 * $scale) }")" \
    "$(awk "BEGIN { print int(245 * $scale) }")" click 1
  sleep 0.5
  import -window "$window" "$scratch/after.png"
  if [ "$scale" != 1.5 ]; then
    differs=$(differing_pixels "$scratch/after.png" "$scale" 210 380 66 30 "$resources/save$suffix.png")
    [ "$differs" = 0 ] || fail "scale $scale: the SAVE face differs in $differs pixels"
  else
    # The middle of the SAVE face is green.
    colour=$(convert "$scratch/after.png" -format "%[fx:int(255*p{363,592}.g)-int(255*p{363,592}.r)]" info:)
    [ "$colour" -gt 60 ] || fail "scale 1.5: no SAVE face after the click ($colour)"
  fi
  kill "$pid"
  wait "$pid" 2>/dev/null
done
echo "PASS"
