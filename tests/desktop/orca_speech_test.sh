#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What Debian's screen reader really says: the real program under openbox on a virtual X display,
# with Orca and speech-dispatcher (its dummy output, sound to ALSA's null device) in a D-Bus session
# of their own. Orca's debug file records every utterance as a SPEECH OUTPUT line, which
# tests/desktop/speak_through_orca.py reads while it plays a session through AT-SPI and the keyboard.
# Usage: orca_speech_test.sh <wheelwatcher executable>. Exit 77 (skipped) when a tool is missing.
set -uo pipefail
program="$1"
here="$(cd "$(dirname "$0")" && pwd)"
for tool in Xvfb xdotool openbox orca speech-dispatcher dbus-run-session; do
  command -v "$tool" >/dev/null || exit 77
done
[ -x /usr/libexec/at-spi-bus-launcher ] && [ -x /usr/lib/speech-dispatcher-modules/sd_dummy ] &&
  /usr/bin/python3 -c "import pyatspi" 2>/dev/null || exit 77

if [ -z "${WHEELWATCHER_IN_TEST_SESSION:-}" ]; then
  WHEELWATCHER_IN_TEST_SESSION=1 exec dbus-run-session -- "$0" "$@"
fi

source "$here/x11_session.sh"
start_display 1024x768

# Orca's and speech-dispatcher's settings, and the program's, all in the scratch folder.
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
mkdir -p "$HOME" "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_CONFIG_HOME/KORMEL" "$XDG_DATA_HOME"
printf 'pcm.!default { type null }\n' >"$scratch/asound.conf"
export ALSA_CONFIG_PATH="$scratch/asound.conf"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'CONF'
AddModule "dummy" "sd_dummy" ""
DefaultModule dummy
AudioOutputMethod "alsa"
CONF
# A stop-win of 20, which a straight-up win crosses.
printf '[Guardrails]\nStopWinOn=true\nStopWin=20\n' >"$XDG_CONFIG_HOME/KORMEL/Wheelwatcher.conf"

# An update server that offers a newer version, reached as the program's HTTP proxy.
cat >"$scratch/update.xml" <<'DOCUMENT'
<Update><Program_Name>Wheelwatcher</Program_Name><Program_Version>5.0.0.5</Program_Version>
<Primary_Download_URL>http://downloads.example.com/wheelwatcher.tar.gz</Primary_Download_URL></Update>
DOCUMENT
/usr/bin/python3 "$here/update_document_server.py" "$scratch/port" "$scratch/update.xml" 2>/dev/null &
background_pids+=($!)
for _ in $(seq 100); do [ -s "$scratch/port" ] && break; sleep 0.05; done
[ -s "$scratch/port" ] || fail "the update server did not start"
record_opened_addresses

# The accessibility bus first, as the desktop starts it before any screen reader.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
  >/dev/null || fail "no accessibility bus"
log="$scratch/orca.log"
orca --debug-file="$log" -d braille -d braille-monitor >/dev/null 2>&1 &
orca_pid=$!
background_pids+=("$orca_pid")
# Orca is up once it has started speech-dispatcher; on a machine busy with builds that took over
# 30 s.
for _ in $(seq 900); do
  [ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] && break
  sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/speech-dispatcher/speechd.sock" ] || fail "Orca did not start its speech"
openbox >/dev/null 2>&1 &
background_pids+=($!)

# Pounds, so that the test hears the currency.
env -u no_proxy -u NO_PROXY http_proxy="http://127.0.0.1:$(cat "$scratch/port")" \
  LANG=en_GB.UTF-8 LC_ALL= LC_MONETARY= QT_QPA_PLATFORM=xcb "$program" 2>/dev/null &
background_pids+=($!)
timeout 240 /usr/bin/python3 "$here/speak_through_orca.py" play "$scratch/steps.json" || exit 1
# Orca writes its debug file out as it ends.
kill -TERM "$orca_pid"
for _ in $(seq 100); do kill -0 "$orca_pid" 2>/dev/null || break; sleep 0.1; done
/usr/bin/python3 "$here/speak_through_orca.py" check "$scratch/steps.json" "$log"
