#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the .deb that `make package` wrote: Debian's rules (lintian, its informational tags
# included), the hardening of the programs, its control data and dependencies, its exact file
# list, the menu entry, the AppStream metadata, the guide's doc-base entry, the man pages and the
# unpacked program. With --install it
# also installs the package with apt, tries the installed program and man page, removes the package
# and checks that nothing of it is left behind (needs root, and changes the system).
# Usage: packaging/check-package.sh [build folder] [--install]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
install=false
[ "${2:-}" = "--install" ] && install=true

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/wheelwatcher_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no package at $deb (run make package)"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Lintian refuses to run as root without being told; the package is only read. Its informational
# tags count too: missing hardening is one.
lintian --allow-root --fail-on error,warning,info --display-info "$deb" || fail "lintian"

# Control data: the libraries come from dpkg-shlibdeps, the font is named by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for needed in fonts-comic-neue libqt6widgets6 libasound2 libc6; do
  grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
# Qt Network would bring Kerberos and proxy libraries into every start.
! grep -q libqt6network6 <<<"$depends" || fail "Depends has libqt6network6: $depends"
[ "$(dpkg-deb -f "$deb" Package)" = wheelwatcher ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"

# Exactly the expected files, nothing more and nothing less.
dpkg-deb -x "$deb" "$scratch/root"
(cd "$scratch/root" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort) >"$scratch/actual"
LC_ALL=C sort "$build/package-files.txt" >"$scratch/expected"
diff -u "$scratch/expected" "$scratch/actual" || fail "the package's files differ from package-files.txt"

root="$scratch/root/usr"
programs=$(cd "$root/bin" && ls)

# Every symbol bound at start and the relocations read-only afterwards; C library calls checked
# where the compiler knew the sizes.
for program in $programs; do
  dynamic=$(readelf -d "$root/bin/$program")
  grep -qE 'FLAGS.*BIND_NOW|FLAGS_1.*NOW' <<<"$dynamic" || fail "$program is not linked with -z now"
  segments=$(readelf -lW "$root/bin/$program")
  grep -q GNU_RELRO <<<"$segments" || fail "$program has no read-only relocations"
  symbols=$(readelf --dyn-syms -W "$root/bin/$program")
  grep -q '__[a-z_]*_chk@' <<<"$symbols" || fail "$program calls no fortified C library function"
done

desktop-file-validate "$root/share/applications/wheelwatcher.desktop" || fail "menu entry"
metainfo=$(echo "$root"/share/metainfo/*.metainfo.xml)
appstreamcli validate --pedantic --no-net "$metainfo" || fail "AppStream metadata"
# Software centres find a program by the binaries it provides.
for program in $programs; do
  grep -q "<binary>$program</binary>" "$metainfo" || fail "AppStream <provides> lacks $program"
done
# The hicolor theme's scalable icon is an SVG drawing.
file -b "$root/share/icons/hicolor/scalable/apps/wheelwatcher.svg" | grep -q "SVG" ||
  fail "the scalable icon is no SVG"

# The guide's doc-base entry names the guide where the package puts it.
doc_base="$root/share/doc-base/wheelwatcher-guide"
for field in Index Files; do
  path=$(sed -n "s/^$field: *//p" "$doc_base")
  [ -n "$path" ] && [ -f "$scratch/root$path" ] || fail "doc-base $field names no file of the package: '$path'"
done

for program in $programs; do
  page="$root/share/man/man6/$program.6.gz"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "the man page of $program: $warnings"
done
# What the window's man page must tell: the statistics window, the guardrails and where they are
# kept, and where to read on.
page_text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man --nh --nj -l "$root/share/man/man6/wheelwatcher.6.gz" 2>/dev/null |
  col -b | tr -s ' \n' ' ')
for needed in "Statistics..." "stop-loss" "Guardrails: StopLossOn" "wheelwatcher-lab(6)" \
  "/usr/share/doc/wheelwatcher"; do
  grep -qF -- "$needed" <<<"$page_text" || fail "the man page of wheelwatcher never says '$needed'"
done
[ "$("$root/bin/wheelwatcher" --version)" = "wheelwatcher $version" ] || fail "--version"

if $install; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$(realpath "$deb")" >/dev/null
  dpkg -L wheelwatcher >"$scratch/installed"
  [ "$(/usr/bin/wheelwatcher --version)" = "wheelwatcher $version" ] || fail "installed --version"
  [ "$(man -w wheelwatcher)" = /usr/share/man/man6/wheelwatcher.6.gz ] || fail "man wheelwatcher"
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq wheelwatcher >/dev/null
  while read -r path; do
    [ -d "$path" ] || [ ! -e "$path" ] || fail "$path is left after apt remove"
  done <"$scratch/installed"
  [ ! -e /usr/share/doc/wheelwatcher ] || fail "the documentation folder is left after apt remove"
fi
echo "PASS: $deb"
