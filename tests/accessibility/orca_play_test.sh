#!/usr/bin/env bash
# A blind player's game, heard through Debian's Orca: the real game on its own
# virtual X server, Orca running headless in a private D-Bus session, and the
# game played from the menu by keys alone (xdotool). What Orca spoke is read
# from its debug log: the screens' names, each page's first line, each choice
# as it takes the focus, the code box, a console answer and the game's end.
# Usage: orca_play_test.sh GAME_BINARY SOURCE_DIR
set -u
if [ -z "${TESS_ORCA_SESSION:-}" ]; then
  for tool in Xvfb xdotool xmodmap dbus-run-session dbus-send iconv /usr/bin/orca speech-dispatcher; do
    if ! command -v "$tool" >/dev/null; then
      echo "FAIL: $tool is missing (tools/install-deps.sh installs it)"
      exit 1
    fi
  done
  TESS_ORCA_SESSION=1 exec timeout -k 5 280 dbus-run-session -- bash "$0" "$@"
fi

game_binary=$1
source_dir=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../lib/real_game.sh
source "$source_dir/tests/lib/real_game.sh"
# shellcheck source=../lib/checks.sh
source "$source_dir/tests/lib/checks.sh"
# shellcheck source=../lib/orca_session.sh
source "$source_dir/tests/lib/orca_session.sh"
# shellcheck source=orca_walk.sh
source "$here/orca_walk.sh"

lane_dir=$(mktemp -d)
finish() {
  local status=$?
  if [ "$failed" -gt 0 ] || [ "$status" -ne 0 ]; then
    echo "--- what Orca spoke"; speech_mark=0; spoken_since_mark | tail -n 400
    echo "--- game output"; tail -n 20 "$lane_dir/game.log" 2>/dev/null
  fi
  lane_cleanup
  stop_orca
  rm -rf "$lane_dir"
}
trap finish EXIT

prepare_orca_home
start_xvfb
# The console key: a keycode of its own, so the first press counts.
xmodmap -e "keycode 91 = KP_Separator"
check "Orca starts and speaks" start_orca || exit 1

# The first game: menu, intro, pages 1 to 3 by the first choices, the console.
pages_and_console() {
  play_to_story || return 1
  play_choice "Виртуальный ресторан" 2
  play_choice "Назад" 3
  mark_speech
  xdotool key KP_Separator
  check "the console key opens the console, and Orca names it" heard "консоль управления"
  check "the command line has the focus when the console opens" heard "Команда"
  type_command help
  check "Orca reads the console's answer to help with the command line" heard "command^help"
  stop_game
}

# The second game: F8 to the last page, then its one choice to the end.
f8_to_game_over() {
  play_to_story || return 1
  mark_speech
  xdotool key F8
  check "after F8 Orca reads the last page's first line" heard "$(first_words 57)"
  press_choice "Конец"
  check "Orca says the story is over" heard "игра окончена"
  check "Orca says closing the window ends the game" heard "Закрытие этого окна завершает игру"
  stop_game
}

# The third game: the long way to the code box, the ending password, the end.
code_box_ending() {
  play_to_story || return 1
  play_route_to_code_box || return 1
  mark_speech
  xdotool type --delay 50 ol
  xdotool key shift+Tab
  check "Shift+Tab from the code box reaches «Enter parol»" heard "Enter parol"
  mark_speech
  xdotool key Return
  check "the ending password leads to the last page, read by Orca" heard "$(first_words 57)"
  press_choice "Конец"
  check "the ending reaches game over, and Orca says so" heard "игра окончена"
  stop_game
}

# Every game unless the ones to play are named (TESS_ORCA_GAMES).
for game in ${TESS_ORCA_GAMES:-pages_and_console f8_to_game_over code_box_ending}; do
  "$game"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
