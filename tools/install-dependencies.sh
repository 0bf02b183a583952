#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages of the groups named on the command line (all groups when none is
# named); only the missing ones.
#   run      what the program needs at run time besides the libraries the build brings
#   build    compiling the program and drawing its artwork
#   test     the tests, screenshots and benchmarks
#   package  making and checking the .deb
# Usage: tools/install-dependencies.sh [run] [build] [test] [package]
set -euo pipefail

declare -A groups=(
  [run]="fonts-comic-neue"
  [build]="cmake ninja-build g++ pkg-config pandoc qt6-base-dev qt6-base-dev-tools libgl-dev
           libasound2-dev fonts-dejavu-core qt6-svg-dev"
  [test]="libgtest-dev libgmock-dev libboost-dev libbenchmark-dev xvfb xauth xdotool x11-utils openbox
          imagemagick dbus-daemon at-spi2-core python3-pyatspi orca speech-dispatcher"
  [package]="dpkg-dev file lintian desktop-file-utils appstream man-db"
)

selected=("$@")
[ ${#selected[@]} -eq 0 ] && selected=(run build test package)

packages=()
for group in "${selected[@]}"; do
  if [ -z "${groups[$group]+set}" ]; then
    echo "unknown group '$group'; the groups are: run build test package" >&2
    exit 2
  fi
  read -r -a members <<<"${groups[$group]//$'\n'/ }"
  packages+=("${members[@]}")
done

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
# Another package manager (unattended upgrades at boot, say) may hold the lock: wait for it, up to
# ten minutes, instead of failing at once.
apt_get=($sudo apt-get -o DPkg::Lock::Timeout=600)
echo "Installing: ${missing[*]}"
"${apt_get[@]}" update -qq
DEBIAN_FRONTEND=noninteractive "${apt_get[@]}" install -y -qq --no-install-recommends "${missing[@]}"
