#!/usr/bin/env bash
# The real game on a machine that lacks things: no display at all, a display
# that is named but cannot be opened, no sound server (with the real music),
# a corrupt music file, a corrupt or huge cursor file. Each time the game
# either says what is missing and ends with status 1, or goes on and still
# ends with status 0 on SIGTERM.
# Usage: machine_conditions.sh GAME_EXECUTABLE SOURCE_DIR
set -u
game_binary=$1
source_dir=$2
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

# ------------------------------------------------------------ no display
lane_dir="$work/nodisplay"
mkdir -p "$lane_dir"
# shellcheck source=../lib/real_game.sh
. "$here/../lib/real_game.sh"
lay_out_game

results="$work/results"
: >"$results"
check() {  # check NAME CONDITION...
  local name=$1
  shift
  if "$@"; then echo "PASS: $name" >>"$results"; else echo "FAIL: $name" >>"$results"; fi
}

no_display() {  # no_display LABEL ENV-ARGS...
  local label=$1 status lines
  shift
  status=$(cd "$lane_dir/game" && env "$@" ./tessaranium >"$lane_dir/out.log" 2>&1; echo $?)
  lines=$(grep -c '^tessaranium:' "$lane_dir/out.log")
  check "$label: the game says so in one line and ends with status 1 (status $status)" \
    test "$status" = 1 -a "$lines" = 1
  check "$label: the line names the missing display" grep -q '^tessaranium: no display' "$lane_dir/out.log"
  sed 's/^/    game: /' "$lane_dir/out.log" >>"$results"
}

# A display number nobody serves.
free_display=99
while [ -e "/tmp/.X11-unix/X$free_display" ] || [ -e "/tmp/.X$free_display-lock" ]; do
  free_display=$((free_display + 1))
done
no_display "DISPLAY unset" -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM
no_display "DISPLAY=:$free_display with no X server there" -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=":$free_display"
no_display "the X platform asked for with no DISPLAY" -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb

# ------------------------------------------------------------ on a display
# Each lane prepares the game folder its own way, brings the game to a
# screen and ends it with SIGTERM.
run_lane() {  # run_lane NAME SCREEN PREPARATION
  lane_dir="$work/$1"
  mkdir -p "$lane_dir"
  . "$here/../lib/real_game.sh"
  trap lane_cleanup EXIT
  start_xvfb
  lay_out_game
  eval "$3"
  start_game
  if ! reach_screen "$2" >/dev/null; then
    echo "FAIL: $1: the game reaches the $2 screen"
    sed 's/^/    game: /' "$lane_dir/game.log"
    return
  fi
  sleep 1  # music and cursor have had their chance to fail
  if ! kill -0 "$game_pid" 2>/dev/null; then
    echo "FAIL: $1: the game is still running on the $2 screen"
    sed 's/^/    game: /' "$lane_dir/game.log"
    return
  fi
  if [ "$1" = no-sound-server ]; then
    # GStreamer's automatic output must not fall through to JACK, whose
    # library has crashed the game on machines like this one.
    if grep -q libjack "/proc/$game_pid/maps"; then
      echo "FAIL: $1: the game loaded the JACK library"
    else
      echo "PASS: $1: the music never loads the JACK library"
    fi
    # Every track fails to reach the server: still one line says so.
    local told
    told=$(grep -ci 'sound server\|pa_context_connect\|Failed to connect' "$lane_dir/game.log")
    if [ "$told" = 1 ] && grep -q '^tessaranium: music: no sound server' "$lane_dir/game.log"; then
      echo "PASS: $1: one line says there is no sound server"
    else
      echo "FAIL: $1: $told lines about the sound server"
      sed 's/^/    game: /' "$lane_dir/game.log"
    fi
  fi
  stop_with TERM
  if [ "$exit_status" = 0 ]; then
    echo "PASS: $1: the game runs on and SIGTERM ends it with status 0"
  else
    echo "FAIL: $1: exit status $exit_status"
  fi
  grep '^tessaranium:' "$lane_dir/game.log" | sort | uniq -c | sed 's/^/    game says: /'
}

lanes=(
  "no-sound-server|menu|cp $source_dir/sound/*.mp3 \"\$lane_dir/game/sound/\""
  "corrupt-music|splash|head -c 65536 /dev/urandom >\"\$lane_dir/game/sound/into.mp3\"; cp \"\$lane_dir/game/sound/into.mp3\" \"\$lane_dir/game/sound/menu.mp3\""
  "corrupt-cursor|menu|head -c 4286 /dev/urandom >\"\$lane_dir/game/cursor/cur.cgf\""
  "huge-cursor|menu|head -c 22 $source_dir/cursor/cur.cgf >\"\$lane_dir/game/cursor/cur.cgf\"; truncate -s 50M \"\$lane_dir/game/cursor/cur.cgf\""
)
for lane in "${lanes[@]}"; do
  IFS='|' read -r name screen preparation <<<"$lane"
  run_lane "$name" "$screen" "$preparation" >"$work/$name.out" 2>&1 &
done
wait
for lane in "${lanes[@]}"; do cat "$work/${lane%%|*}.out" >>"$results"; done

cat "$results"
passed=$(grep -c '^PASS' "$results")
failed=$(grep -c '^FAIL' "$results")
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -eq $((8 + ${#lanes[@]})) ]
