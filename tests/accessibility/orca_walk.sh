# Playing the real game by keys while Orca listens: sourced by
# orca_play_test.sh after tests/lib/real_game.sh, checks.sh and
# orca_session.sh. Each step presses keys as a blind player would and checks
# what Orca spoke in answer. What a page or the about text says is read from
# the game's own files (text/), never written here.

game_number=0

g() { echo "game $game_number:"; }

# What Orca spoke since the mark, against a text file of the game
# (heard_text.py: whole, once or later).
spoken_is() {  # spoken_is MODE FILE
  spoken_since_mark | /usr/bin/python3 "$here/heard_text.py" "$1" "$2"
}

# Waits (up to 10 s) until Orca has spoken the file whole since the mark,
# lets its speech settle, and checks that every line was heard exactly once,
# in order.
heard_once() {
  local file=$1
  for _ in $(seq 1 100); do
    spoken_is whole "$file" >/dev/null && break
    sleep 0.1
  done
  settle_speech
  spoken_is once "$file"
}

# Presses the keys, waits (up to 5 s) until Orca answers and then until it
# has said all it says to them.
answer_to() {
  mark_speech
  xdotool key "$@"
  for _ in $(seq 1 50); do
    [ -n "$(spoken_since_mark)" ] && break
    sleep 0.1
  done
  settle_speech
}

# The last thing Orca said, against a text file of the game.
last_said_is() {  # last_said_is MODE FILE
  spoken_since_mark | tail -n 1 | /usr/bin/python3 "$here/heard_text.py" "$1" "$2"
}

heard_page_once() {
  heard_once "$source_dir/text/gt$1.tf"
}

# A new game, every flag "0", with Orca listening, up to the menu.
start_at_menu() {
  game_number=$((game_number + 1))
  lay_out_game
  for flag in b c bc; do printf '0\r\n' >"$lane_dir/game/engdat/$flag.gdf"; done
  mark_speech
  start_game
  check "$(g) Orca names the splash screen" heard "заставка" \
    || { sed 's/^/    game: /' "$lane_dir/game.log"; return 1; }
  wait_tenths=150 heard "главное меню"
  check "$(g) Orca names the menu after the splash" [ $? -eq 0 ] || return 1
  check "$(g) the menu's first entry, Запуск, has the focus" heard "Запуск"
  mark_speech
  xdotool key Tab
  check "$(g) Tab moves to Инфо, and Orca says so" heard "Инфо"
  mark_speech
  xdotool key shift+Tab
  check "$(g) Shift+Tab moves back to Запуск" heard "Запуск"
  settle_speech
}

# From the menu (Запуск in focus) by the intro to page 1, read whole once.
menu_to_story() {
  mark_speech
  xdotool key Return
  check "$(g) Enter on Запуск opens the intro, and Orca names it" heard "вступление" || return 1
  press_choice "Начать игру" || return 1
  check "$(g) Orca names the story screen" heard "история"
  check "$(g) page 1 is read whole, once, in order, as the story window comes up" heard_page_once 1
}

play_to_story() {
  start_at_menu || return 1
  menu_to_story
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
  check "$(g) «$caption» is spoken as it takes the focus" [ "$found" -eq 0 ] || return 1
  mark_speech
  xdotool key Return
}

# Chooses a caption and checks that Orca reads the page it leads to whole,
# once, in order.
play_choice() {
  press_choice "$1" || return 1
  check "$(g) page $2 is read whole, once, in order, after «$1»" heard_page_once "$2"
}

stop_game() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
  game_pid=
}

# A command typed over what the command line holds, Tab to «Выполнить»,
# Enter: the answer comes back with the command line.
type_command() {
  xdotool key ctrl+a
  xdotool type --delay 60 "$1"
  mark_speech
  xdotool key Tab
  check "$(g) Tab from the command line reaches «Выполнить»" heard "Выполнить"
  mark_speech
  xdotool key Return
}

# Say-all over a whole text file from its first line. Speech-dispatcher now
# and then loses the callback that carries Orca's say-all on to the next
# line, and say-all then stops for good mid-text (seen at different lines,
# about one run in three on a loaded machine). After ten quiet seconds the
# text is read again from the top, at most twice; what is checked is the
# last pass alone, heard since its own start.
say_all_from_the_top() {  # say_all_from_the_top FILE
  local pass said last quiet
  for pass in 1 2 3; do
    mark_speech
    xdotool key KP_Add
    last=0 quiet=0
    for _ in $(seq 1 1500); do
      spoken_is whole "$1" >/dev/null && { settle_speech; return 0; }
      sleep 0.1
      said=$(spoken_since_mark | wc -l)
      if [ "$said" = "$last" ]; then quiet=$((quiet + 1)); else quiet=0 last=$said; fi
      [ "$quiet" -ge 100 ] && break
    done
    echo "NOTE: $(g) say-all stopped after $said utterances (pass $pass); Ctrl+Home and say-all again"
    answer_to ctrl+Home
  done
}

# The about text: read through by say-all from its start, line by line by
# flat review, by the arrow keys; then back to the menu.
read_the_about_text() {
  local about="$source_dir/text/read.tf"
  mark_speech
  xdotool key Tab
  wait_tenths=20 heard "Инфо"
  mark_speech
  xdotool key Return
  check "$(g) Инфо opens the about screen, and Orca names it" heard "об игре" || return 1
  settle_speech
  say_all_from_the_top "$about"
  check "$(g) say-all reads the about text from its first line to its last, each once, in order" \
    spoken_is once "$about"
  answer_to ctrl+Home
  answer_to KP_Up
  check "$(g) flat review's current line is the about text's first line alone" last_said_is first "$about"
  answer_to KP_Page_Up
  check "$(g) flat review's next line is a later line of the about text" last_said_is later "$about"
  answer_to Down
  check "$(g) the down arrow reads a later line of the about text" last_said_is later "$about"
  press_choice "Назад" || return 1
  check "$(g) Назад leads back to the menu, with Запуск in focus" eval 'heard "главное меню" && heard "Запуск"'
  settle_speech
}

# From page 1 to page 56 by the route in route_to_code_box.tsv (caption,
# page it leads to), each page read whole, once; then the code box: a
# password that opens nothing is told, the ending password leads on.
play_route_to_code_box() {
  local caption page last
  while IFS=$'\t' read -r caption page; do
    play_choice "$caption" "$page" || return 1
    last=$page
  done <"$here/route_to_code_box.tsv"
  mark_speech
  xdotool key Tab
  check "$(g) Tab from page $last leads into the code box «Пароль», which says what it asks for" \
    eval 'heard "Пароль" && heard "Наберите пароль"'
  xdotool type --delay 60 abc
  mark_speech
  xdotool key Tab
  check "$(g) Tab from the code box reaches «Enter parol»" heard "Enter parol"
  mark_speech
  xdotool key Return
  check "$(g) a password that opens nothing is answered «Пароль не подошёл»" heard "Пароль не подошёл"
  mark_speech
  xdotool key shift+Tab
  check "$(g) Shift+Tab leads back into the code box, whose whole text Orca reads: «abc»" \
    eval 'heard "Пароль" && wait_tenths=20 heard "abc selected"'
}
