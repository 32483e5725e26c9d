#!/usr/bin/env bash
# The real game in a temporary game folder on a virtual X server: termination
# signals go through the close handlers, the console key works from a real
# keyboard, and a machine without a display gets a plain message.
# Usage: game_process_test.sh GAME_EXECUTABLE SOURCE_DIR
set -u
game_binary=$1
source_dir=$2

work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
  [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=../lib/checks.sh
. "$(cd "$(dirname "$0")" && pwd)/../lib/checks.sh"

# A game folder as the game expects it, flags set to "1" so resets show.
lay_out_game() {
  rm -rf "$work/game"
  mkdir -p "$work/game/engdat"
  cp "$game_binary" "$work/game/tessaranium"
  cp -r "$source_dir/text" "$source_dir/cursor" "$work/game/"
  mkdir -p "$work/game/sound"  # no music: the game must go on without it
  for flag in b c bc; do printf '1\r\n' > "$work/game/engdat/$flag.gdf"; done
}

flags_are() {  # flags_are "0" -> every flag file holds that digit and CR LF
  local flag
  for flag in b c bc; do
    [ "$(od -An -c "$work/game/engdat/$flag.gdf" | tr -d ' ')" = "$1\r\n" ] || return 1
  done
}

start_xvfb() {
  # -noreset: a server that resets when its last client leaves refuses the
  # next game for a moment.
  Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$work/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
  done
  export DISPLAY=":$(head -n 1 "$work/display")"
}

start_game() {
  (cd "$work/game" && QT_QPA_PLATFORM=xcb exec ./tessaranium >"$work/game.log" 2>&1) &
  game_pid=$!
}

# Waits for a game window of the given width; prints its id.
window_of_width() {
  local width=$1 id
  for _ in $(seq 1 100); do
    for id in $(xdotool search --name 'Tessaranium' 2>/dev/null); do
      if xwininfo -id "$id" 2>/dev/null | grep -q "Width: $width\$" \
         && xwininfo -id "$id" | grep -q 'Map State: IsViewable'; then
        echo "$id"; return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

has_window_of_width() {
  window_of_width "$1" >/dev/null
}

click() {  # click WINDOW X Y
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

# Sends the signal and waits up to a second for the game to end; its exit
# status lands in $exit_status.
stop_with() {
  exit_status="still running"
  kill "-$1" "$game_pid"
  for _ in $(seq 1 20); do
    if ! kill -0 "$game_pid" 2>/dev/null || [ "$(ps -o stat= -p "$game_pid")" = Z ]; then
      wait "$game_pid"; exit_status=$?; game_pid=; return
    fi
    sleep 0.05
  done
}

to_story_screen() {
  sleep 7  # the splash lasts 6258 ms
  local menu intro
  menu=$(window_of_width 799) && click "$menu" 656 236
  intro=$(window_of_width 798) && click "$intro" 396 524
  has_window_of_width 800
}

start_xvfb

lay_out_game
start_game
sleep 1
stop_with INT
check "SIGINT on the splash ends the game at once" test "$exit_status" = 0
check "the splash keeps the story flags" flags_are 1

lay_out_game
start_game
sleep 7
check "the menu is up after the splash" has_window_of_width 799
stop_with TERM
check "SIGTERM on the menu ends the game with status 0" test "$exit_status" = 0
check "the menu keeps the story flags" flags_are 1

lay_out_game
start_game
check "the story screen opens from the menu and the intro" to_story_screen
stop_with TERM
check "SIGTERM on the story screen ends the game with status 0" test "$exit_status" = 0
check "the story screen resets the story flags" flags_are 0

lay_out_game
start_game
to_story_screen
# The separator has no key on Xvfb's keyboard: xdotool lends it one for the
# moment, and now and then the game reads the key before it hears of the
# loan. Then it is pressed again.
press_console_key() {
  for _ in 1 2 3; do
    xdotool key KP_Separator
    has_window_of_width 797 && return 0
  done
  return 1
}
check "the keypad separator key opens the console" press_console_key
stop_with HUP
check "SIGHUP on the console ends the game with status 0" test "$exit_status" = 0
check "the console resets the story flags" flags_are 0
check "a missing sound folder is reported, not fatal" grep -q 'music: "play sound' "$work/game.log"

lay_out_game
status=$(cd "$work/game" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ./tessaranium >"$work/nodisplay.log" 2>&1; echo $?)
check "without a display the game says so and exits with status 1" \
  test "$status" = 1 -a "$(wc -l <"$work/nodisplay.log")" = 1
check "the message names the missing display" grep -q 'no display' "$work/nodisplay.log"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
