# What the AT-SPI tests set up around their Python checks: sourced after
# tests/lib/real_game.sh. A private folder with a game folder (flags at "0",
# no music), a virtual X server, and the check run in a private D-Bus session
# whose sockets stay in that folder.

for tool in Xvfb xdotool dbus-run-session dbus-send; do
  if ! command -v "$tool" >/dev/null; then
    echo "FAIL: $tool is missing (tools/install-deps.sh installs it)"
    exit 1
  fi
done
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "FAIL: python3-pyatspi is missing (tools/install-deps.sh installs it)"
  exit 1
fi

lane_dir=$(mktemp -d)
trap 'lane_cleanup; rm -rf "$lane_dir"' EXIT
lay_out_game
for flag in b c bc; do printf '0\r\n' >"$lane_dir/game/engdat/$flag.gdf"; done
mkdir -m 700 "$lane_dir/runtime"
export XDG_RUNTIME_DIR="$lane_dir/runtime"
start_xvfb
# The console key: a keycode of its own, so the first press counts.
xmodmap -e "keycode 91 = KP_Separator" 2>/dev/null

run_atspi_check() {  # run_atspi_check SCRIPT ARGS...
  local status
  PYTHONPATH="$(dirname "$1")" dbus-run-session -- /usr/bin/python3 "$@" 2>"$lane_dir/session.log"
  status=$?
  if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
    echo "--- game output"; cat "$lane_dir/game.log" 2>/dev/null
    echo "--- session output"; grep -v 'Failed to set fd limit' "$lane_dir/session.log"
  fi
  return "$status"
}
