# Playing the real game by keys while Orca listens: sourced by
# orca_play_test.sh after tests/lib/real_game.sh, checks.sh and
# orca_session.sh. Each step presses keys as a blind player would and checks
# what Orca spoke in answer.

game_number=0

# The first three words of a page's first line, as Orca speaks them.
first_words() {
  iconv -f cp1251 -t utf-8 "$source_dir/text/gt$1.tf" | head -n 1 | tr -d '\r' | cut -d ' ' -f 1-3
}

# A new game, every flag "0", with Orca listening: from the splash by the
# menu's start entry and the intro's button to page 1.
play_to_story() {
  game_number=$((game_number + 1))
  local g="game $game_number:"
  lay_out_game
  for flag in b c bc; do printf '0\r\n' >"$lane_dir/game/engdat/$flag.gdf"; done
  mark_speech
  start_game
  check "$g Orca names the splash screen" heard "заставка" || return 1
  wait_tenths=150 heard "главное меню"
  check "$g Orca names the menu after the splash" [ $? -eq 0 ] || return 1
  check "$g the menu's first entry, Запуск, has the focus" heard "Запуск"
  mark_speech
  xdotool key Tab
  check "$g Tab moves to Инфо, and Orca says so" heard "Инфо"
  mark_speech
  xdotool key shift+Tab
  check "$g Shift+Tab moves back to Запуск" heard "Запуск"
  mark_speech
  xdotool key Return
  check "$g Enter on Запуск opens the intro, and Orca names it" heard "вступление" || return 1
  press_choice "Начать игру" || return 1
  check "$g Orca names the story screen" heard "история"
  check "$g Orca reads page 1's first line once the story window is up" heard "$(first_words 1)"
}

# Tabs (at most five times) until Orca speaks the caption, then presses Enter.
press_choice() {
  local caption=$1 found=1
  for _ in 1 2 3 4 5; do
    mark_speech
    xdotool key Tab
    if wait_tenths=20 heard "$caption"; then
      found=0
      break
    fi
  done
  check "game $game_number: «$caption» is spoken as it takes the focus" [ "$found" -eq 0 ] || return 1
  mark_speech
  xdotool key Return
}

# Chooses a caption and checks that Orca reads the page it leads to.
play_choice() {
  press_choice "$1" || return 1
  check "game $game_number: Orca reads page $2's first line after «$1»" heard "$(first_words "$2")"
}

stop_game() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
  game_pid=
}

# Command line, Tab to «Выполнить», Enter: the answer comes back with the
# command line.
type_command() {
  xdotool type --delay 150 "$1"
  mark_speech
  xdotool key Tab
  check "Tab from the command line reaches «Выполнить»" heard "Выполнить"
  mark_speech
  xdotool key Return
}

# From page 1 to page 56 by the route in route_to_code_box.tsv (caption, tab,
# page it leads to); there the code box appears and takes the focus, and the
# page is read from it by Shift+Tab past «Enter parol».
play_route_to_code_box() {
  local caption page last
  last=$(tail -n 1 "$here/route_to_code_box.tsv")
  while IFS=$'\t' read -r caption page; do
    play_choice "$caption" "$page" || return 1
  done < <(head -n -1 "$here/route_to_code_box.tsv")
  press_choice "${last%$'\t'*}" || return 1
  check "game $game_number: Orca names the code box «Пароль» as it takes the focus" heard "Пароль"
  check "game $game_number: Orca says what the code box asks for" heard "Наберите пароль"
  mark_speech
  xdotool key shift+Tab shift+Tab
  check "game $game_number: Shift+Tab twice from the code box reads page ${last#*$'\t'}" \
    heard "$(first_words "${last#*$'\t'}")"
  mark_speech
  xdotool key Tab Tab
  check "game $game_number: Tab twice leads back to the code box" heard "Пароль"
}
