#!/usr/bin/env bash
# The real game as a screen reader meets it: on its own virtual X server, in a
# private D-Bus session with the accessibility bus, the menu, the intro and the
# first pages of the story are played through AT-SPI press actions and the
# story pane is read back (atspi_story_check.py).
# Usage: atspi_story_test.sh GAME_FOLDER
# Exit status 77 (a skip) only when the accessibility bus cannot start.
set -u
game_folder=$1
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb dbus-run-session dbus-send; do
  if ! command -v "$tool" >/dev/null; then
    echo "FAIL: $tool is missing (tools/install-deps.sh installs it)"
    exit 1
  fi
done
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "FAIL: python3-pyatspi is missing (tools/install-deps.sh installs it)"
  exit 1
fi

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A copy of the game folder, flags at "0": the story starts where it starts.
cp -r "$game_folder" "$work/game"
rm -rf "$work/game/sound" && mkdir "$work/game/sound"  # quiet: music is not under test
for flag in b c bc; do printf '0\r\n' > "$work/game/engdat/$flag.gdf"; done

# Sockets of this session's buses stay in the temporary folder.
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime"

# A virtual X server on a free display; asked again if the one it reports
# does not answer (another server may be starting at the same moment).
start_xvfb() {
  rm -f "$work/display"
  Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
  done
  display=$(head -n 1 "$work/display" 2>/dev/null)
  [ -n "$display" ] && kill -0 "$xvfb_pid" 2>/dev/null || return 1
  if command -v xdpyinfo >/dev/null; then
    xdpyinfo -display ":$display" >/dev/null 2>&1 || return 1
  fi
}
for attempt in 1 2 3; do
  start_xvfb && break
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  xvfb_pid=
  if [ "$attempt" -eq 3 ]; then
    echo "FAIL: Xvfb did not start"
    exit 1
  fi
done
export DISPLAY=":$display"

dbus-run-session -- /usr/bin/python3 "$here/atspi_story_check.py" "$work/game" 2>"$work/session.log"
status=$?
if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
  echo "--- game output"; cat "$work/game.log" 2>/dev/null
  echo "--- session output"; grep -v 'Failed to set fd limit' "$work/session.log"
fi
exit "$status"
