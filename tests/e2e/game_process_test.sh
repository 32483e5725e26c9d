#!/usr/bin/env bash
# The real game in a temporary game folder on a virtual X server: termination
# signals go through the close handlers, the console key works from a real
# keyboard, and a machine without a display gets a plain message.
# Usage: game_process_test.sh GAME_EXECUTABLE SOURCE_DIR
set -u
game_binary=$1
source_dir=$2

lane_dir=$(mktemp -d)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../lib/checks.sh
. "$here/../lib/checks.sh"
# shellcheck source=../lib/real_game.sh
. "$here/../lib/real_game.sh"
trap 'lane_cleanup; rm -rf "$lane_dir"' EXIT

# Whether a signal ends the game is checked here, not how fast: a loaded
# machine may take a few seconds to write the flags and exit.
stop_within_ms=10000

reaches() {  # reaches SCREEN -> the game shows it, brought there as a player would
  reach_screen "$1" >/dev/null
}

flags_are() {  # flags_are 000 -> the three flag files hold those digits, each with CR LF
  [ "$(flag_word)" = "$1" ]
}

start_xvfb

# The logo is drawn from the raw pixels in the program: its globe (100, 100
# into the logo, which lies at 168, 160) must come out blue, not mixed up.
globe_is_blue() {  # at (100, 100) of the logo
  local rgb logo
  read -ra logo <<<"${layout_place[splash.Image1]}"
  rgb=$(import -window "$1" -crop "1x1+$((logo[0] + 100))+$((logo[1] + 100))" +repage -format '%[fx:int(255*r)] %[fx:int(255*b)]' info: 2>/dev/null) || return 1
  set -- $rgb
  [ "${2:-0}" -gt $((${1:-255} + 80)) ]
}

lay_out_game
start_game
splash=$(reach_screen splash)
check "the splash comes up" test -n "$splash"
for _ in $(seq 1 30); do globe_is_blue "$splash" && break; sleep 0.1; done
check "the splash shows its logo, the globe blue" globe_is_blue "$splash"
stop_with INT
check "SIGINT on the splash ends the game at once" test "$exit_status" = 0
check "the splash keeps the story flags" flags_are 111

# Qt Multimedia, GStreamer and the sound server's client come with the music
# library on the first "play", once the splash is drawn; the executable itself
# starts without them.
check "the executable needs no media, sound or network library" \
  bash -c "! ldd '$game_binary' | grep -qiE 'multimedia|gstreamer|pulse|network'"

with_music() {
  cp "$source_dir"/sound/*.mp3 "$lane_dir/game/sound/"
}

lay_out_game
start_game
check "the menu is up after the splash" reaches menu
check "with no music files the music library is never loaded" \
  bash -c "! grep -q 'tessaranium-music' /proc/$game_pid/maps"
stop_with TERM
check "SIGTERM on the menu ends the game with status 0" test "$exit_status" = 0
check "the menu keeps the story flags" flags_are 111

lay_out_game
start_game
check "the story screen opens from the menu and the intro" reaches story
stop_with TERM
check "SIGTERM on the story screen ends the game with status 0" test "$exit_status" = 0
check "the story screen resets the story flags" flags_are 000

lay_out_game
start_game
check "the keypad separator key opens the console" reaches console
stop_with HUP
check "SIGHUP on the console ends the game with status 0" test "$exit_status" = 0
check "the console resets the story flags" flags_are 000
check "a missing sound folder is reported, not fatal" grep -q 'music: "play sound' "$lane_dir/game.log"

lay_out_game
with_music
start_game
check "with its music the menu is up after the splash" reaches menu
check "the music library is loaded once music plays" grep -q 'tessaranium-music' "/proc/$game_pid/maps"
stop_with TERM

lay_out_game
with_music
rm -f "$lane_dir"/game/tessaranium-music.*
start_game
check "without its music library the game still reaches the menu" reaches menu
check "and says once that it plays without sound" \
  test "$(grep -c '^tessaranium: music: the game plays without sound' "$lane_dir/game.log")" = 1
stop_with TERM
check "SIGTERM then ends it with status 0" test "$exit_status" = 0

lay_out_game
status=$(cd "$lane_dir/game" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ./tessaranium >"$lane_dir/nodisplay.log" 2>&1; echo $?)
check "without a display the game says so and exits with status 1" \
  test "$status" = 1 -a "$(wc -l <"$lane_dir/nodisplay.log")" = 1
check "the message names the missing display" grep -q 'no display' "$lane_dir/nodisplay.log"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
