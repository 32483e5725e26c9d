#!/usr/bin/env bash
# A blind player's game, heard through Debian's Orca: the real game on its own
# virtual X server, Orca running headless in a private D-Bus session, and the
# game played from the menu by keys alone (xdotool). What Orca spoke is read
# from its debug log: the screens' names, the about text by say-all, flat
# review and the arrow keys, every page of three games whole, once, in order
# (page 1, the pages of the long way to the code box, page 56 and page 57),
# each choice with its place, the code box and a refused password, the
# console's answers, an unknown command, the cleared log, the exit command's
# last words before the game ends, and game over. First, before Orca runs,
# the game without a screen reader: the same keys change nothing on screen.
# Usage: orca_play_test.sh GAME_BINARY SOURCE_DIR
set -u
if [ -z "${TESS_ORCA_SESSION:-}" ]; then
  for tool in Xvfb xdotool xmodmap import dbus-run-session dbus-send dbus-update-activation-environment iconv \
    /usr/bin/orca speech-dispatcher; do
    if ! command -v "$tool" >/dev/null; then
      echo "FAIL: $tool is missing (tools/install-deps.sh installs it)"
      exit 1
    fi
  done
  TESS_ORCA_SESSION=1 exec timeout -k 5 460 dbus-run-session -- bash "$0" "$@"
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
    echo "--- what Orca spoke"; speech_mark=0; spoken_since_mark | tail -n 400 | cut -c 1-300
    echo "--- game output"; tail -n 20 "$lane_dir/game.log" 2>/dev/null
  fi
  lane_cleanup
  stop_orca
  rm -rf "$lane_dir"
}
trap finish EXIT

# The pixels of a window, as one sum.
# No screen reader yet: Tab, Enter, Space and the reading keys change
# nothing a sighted player sees on the story screen; a click still plays.
keys_without_a_screen_reader() {
  local story before x y
  lay_out_game
  for flag in b c bc; do printf '0\r\n' >"$lane_dir/game/engdat/$flag.gdf"; done
  start_game
  story=$(reach_screen story) || { check "without a screen reader the game reaches the story" false; return 1; }
  xdotool windowfocus --sync "$story" 2>/dev/null
  # The pointer rests on the first choice, lit, where it will click.
  read -r x y <<<"$(middle_of story Label2)"
  before=$(window_sum "$story")
  xdotool mousemove --window "$story" "$x" "$y"
  window_changes "$story" "$before"
  before=$(window_sum "$story")
  xdotool key Tab Tab Return space Down End ctrl+Home Tab Return
  sleep 0.5
  check "without a screen reader Tab, Enter, Space and the arrow keys change nothing on the story screen" \
    [ "$(window_sum "$story")" = "$before" ]
  xdotool click 1
  check "without a screen reader a click on a choice still turns the page" window_changes "$story" "$before"
  stop_game
}

prepare_orca_home
start_xvfb
keys_without_a_screen_reader
check "Orca starts and speaks" start_orca || exit 1
# The console key on Scroll Lock, as the README has a player do it: with Orca
# running, on a key neither of its layouts uses.
xmodmap -e "keysym Scroll_Lock = KP_Separator"

# The about text, pages 1 to 3 by the first choices, the console by its key,
# its answers and its exit command. Played last: the game ends as if it had
# died, and Orca is slow to hear of the next one after that.
about_pages_and_console() {
  start_at_menu || return 1
  read_the_about_text || return 1
  menu_to_story || return 1
  mark_speech
  xdotool key Tab
  check "$(g) the first choice says what it is and where it stands: 1 из 3" \
    eval 'heard "Виртуальный ресторан" && heard "1 из 3"'
  mark_speech
  xdotool key Return
  check "$(g) page 2 is read whole, once, in order, after «Виртуальный ресторан»" heard_page_once 2
  play_choice "Назад" 3
  answer_to Down
  check "$(g) the down arrow on page 3 reads a later line of it" last_said_is later "$source_dir/text/gt3.tf"
  mark_speech
  xdotool key KP_Separator
  check "$(g) the console key opens the console, and Orca names it" heard "консоль управления"
  check "$(g) the command line has the focus when the console opens" heard "Команда"
  type_command help
  check "$(g) the command line's whole text is read with the answer: help, not hel" \
    eval 'wait_tenths=30 heard "command^help" && spoken_since_mark | grep -qx "help\.\?"'
  type_command "command^diec<my_foto.see"
  check "$(g) a file's answer is read: the log's new line and the comment" heard "Commentary to file"
  type_command dir
  check "$(g) an unknown command is told as unknown" heard "Неизвестная команда"
  check "$(g) and not as the answer before it" eval '! spoken_since_mark | grep -q "Commentary"'
  mark_speech
  xdotool key Tab Tab
  check "$(g) Tab twice from the command line reaches «Очистить»" heard "Очистить"
  mark_speech
  xdotool key Return
  check "$(g) «Очистить» is answered «Журнал очищен»" heard "Журнал очищен"
  mark_speech
  xdotool key shift+Tab shift+Tab
  check "$(g) Shift+Tab twice leads back to the command line" heard "Команда"
  type_command "command^end<consol"
  local spoken_alive=no
  heard "Good By!" && kill -0 "$game_pid" 2>/dev/null && spoken_alive=yes
  check "$(g) the exit command's last words are spoken while the game still runs" [ "$spoken_alive" = yes ]
  wait_exit 100
  check "$(g) then the game ends by itself, with status 0" [ "$exit_status" = 0 ]
}

# F8 to the last page, then its one choice to the end.
f8_to_game_over() {
  play_to_story || return 1
  mark_speech
  xdotool key F8
  check "$(g) after F8 the last page is read whole, once, in order" heard_page_once 57
  press_choice "Конец"
  check "$(g) Orca says the story is over" heard "игра окончена"
  check "$(g) Orca says closing the window ends the game" heard "Закрытие этого окна завершает игру"
  stop_game
}

# The long way to the code box, every page read whole once, a refused
# password, the ending password, the end.
code_box_ending() {
  play_to_story || return 1
  play_route_to_code_box || return 1
  xdotool type --delay 60 ol
  mark_speech
  xdotool key Tab
  check "$(g) Tab from the code box reaches «Enter parol» again" heard "Enter parol"
  mark_speech
  xdotool key Return
  check "$(g) the ending password leads to the last page, read whole, once, in order" heard_page_once 57
  press_choice "Конец"
  check "$(g) the ending reaches game over, and Orca says so" heard "игра окончена"
  stop_game
}

# Every game unless the ones to play are named (TESS_ORCA_GAMES).
for game in ${TESS_ORCA_GAMES:-f8_to_game_over code_box_ending about_pages_and_console}; do
  "$game"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
