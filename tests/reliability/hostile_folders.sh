#!/usr/bin/env bash
# The real game in game folders an attacker or a broken disk has been at:
# links in place of flag files (to a file, to a device), a FIFO or a link to
# /dev/zero in place of every kind of file the game reads, the about and
# intro texts missing, leftovers of killed flag writes, and a read-only
# engdat/ holding writable flags. Each trial checks what the player sees,
# the exit status and what became of the files.
# Trials run in lanes side by side, each lane on its own virtual X server.
# Usage: hostile_folders.sh GAME_EXECUTABLE SOURCE_DIR [LANES]
set -u
game_binary=$1
source_dir=$2
lanes=${3:-3}
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
chmod 755 "$work"  # the read-only trial plays as an unprivileged user
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

# The game names the file within a second on a quiet machine (figures in
# docs/RELIABILITY.md); the bound here leaves room for a busy one, and still
# fails a game that waits on the file.
answer_ms=3000

show_log() { sed 's/^/    game: /' "$lane_dir/game.log"; }
said() { grep -qF "tessaranium: $1" "$lane_dir/game.log"; }
inode() { stat -c %i "$1"; }
box_comes() { wait_message_box >/dev/null; }
# Waits up to 5 s for the game to say the line; sets said_ms, counted from
# $asked_at (date +%s%N).
wait_said() {
  said_ms=
  for _ in $(seq 1 250); do
    if said "$1"; then said_ms=$((($(date +%s%N) - asked_at) / 1000000)); return 0; fi
    sleep 0.02
  done
  return 1
}

# A link in place of engdat/b.gdf, to a file of the player's: closing the
# story with its close box names the flag in a message that stays, and the
# file behind the link is untouched.
trial_link_to_file() {
  local story box
  printf 'keep me\n' >"$lane_dir/precious"
  rm "$lane_dir/game/engdat/b.gdf"
  ln -s "$lane_dir/precious" "$lane_dir/game/engdat/b.gdf"
  start_game
  story=$(reach_screen story) || { check "link to a file: the story opens" false; show_log; return; }
  close_window "$story"
  read -r box _ < <(wait_message_box)
  check "link to a file: closing the story shows a message" test -n "$box"
  sleep 1
  check "link to a file: the message stays until it is dismissed" test -n "$(message_boxes)"
  check "link to a file: it names the flag and the link" \
    said 'Не удалось сбросить прогресс истории. Файл «engdat\b.gdf»: на месте файла лежит ссылка на другой файл.'
  dismiss_message_box "$box"
  wait_exit 30
  check "link to a file: dismissed, the game ends with status 1 ($exit_status)" test "$exit_status" = 1
  check "link to a file: the file behind the link is untouched" test "$(cat "$lane_dir/precious")" = "keep me"
  check "link to a file: the link is still a link to it" \
    test "$(readlink "$lane_dir/game/engdat/b.gdf")" = "$lane_dir/precious"
  check "link to a file: the flags after it keep their values ($(flag_word))" test "$(flag_word)" = "?11"
}

# A link in place of engdat/c.gdf to a device node: SIGTERM on the story
# resets b, refuses c, and the node stays a node.
trial_link_to_device() {
  local node=$lane_dir/node
  if [ "$(id -u)" = 0 ]; then mknod "$node" c 1 3; else node=/dev/null; fi
  rm "$lane_dir/game/engdat/c.gdf"
  ln -s "$node" "$lane_dir/game/engdat/c.gdf"
  start_game
  reach_screen story >/dev/null || { check "link to a device: the story opens" false; show_log; return; }
  stop_patiently
  check "link to a device: SIGTERM ends the game in ${gone_ms:-?} ms with status 1 ($exit_status)" test "$exit_status" = 1
  check "link to a device: the error stream names the flag" \
    said 'Не удалось сбросить прогресс истории. Файл «engdat\c.gdf»: на месте файла лежит ссылка на другой файл.'
  check "link to a device: the node is still a character device" test -c "$node"
  check "link to a device: b was reset, bc kept ($(flag_word))" test "$(flag_word)" = "0?1"
}

# A FIFO (KIND fifo) or a link to /dev/zero (KIND zero) in place of FILE.
# The game answers within a second where it reads the file, and SIGTERM
# still ends it.
trial_odd_file() {
  local kind=$1 file=$2 name window expected_status=1
  name="$kind in place of $file"
  rm -f "$lane_dir/game/$file"
  case $kind in
    fifo) mkfifo "$lane_dir/game/$file" ;;
    zero) ln -s /dev/zero "$lane_dir/game/$file" ;;
  esac
  start_game
  case $file in
    cursor/cur.cgf)
      # Read when the menu comes up: the menu must come, with the arrow.
      window=$(reach_screen menu)
      check "$name: the menu comes up" test -n "$window"
      sleep 1
      expected_status=0 ;;
    text/read.tf | text/into.tf)
      window=$(reach_screen menu) || { check "$name: the menu comes up" false; show_log; return; }
      if [ "$file" = text/read.tf ]; then click_on "$window" menu Label2; else click_on "$window" menu Label3; fi ;;
    text/gt1.tf)
      window=$(reach_screen intro) || { check "$name: the intro comes up" false; show_log; return; }
      click_on "$window" intro Label2 ;;
    engdat/c.gdf)
      window=$(reach_screen story) || { check "$name: the story comes up" false; show_log; return; }
      xdotool windowfocus --sync "$window" 2>/dev/null
      jump_to_the_end "$window" || { check "$name: F8 shows the last page" false; show_log; return; }
      click_on "$window" story Label2 ;;  # "Конец" reads c first
  esac
  asked_at=$(date +%s%N)  # the click has just been made
  if [ "$file" != cursor/cur.cgf ]; then
    wait_said "Файл «${file//\//\\}»: это не обычный файл."
    check "$name: the game names the file and why in ${said_ms:-no} ms (at most $answer_ms)" \
      test "${said_ms:-99999}" -le "$answer_ms"
    check "$name: in a message box" box_comes
  fi
  stop_patiently
  check "$name: SIGTERM ends the game in ${gone_ms:-?} ms with status $expected_status ($exit_status)" \
    test "$exit_status" = "$expected_status"
  case $kind in
    fifo) check "$name: the FIFO is still there" test -p "$lane_dir/game/$file" ;;
    zero) check "$name: the link is still there" test -L "$lane_dir/game/$file" ;;
  esac
}

# text/read.tf or text/into.tf missing: the message stays until the player
# dismisses it, then the game ends with status 1.
trial_missing_text() {
  local file=$1 menu box
  rm "$lane_dir/game/$file"
  start_game
  menu=$(reach_screen menu) || { check "$file missing: the menu comes up" false; show_log; return; }
  if [ "$file" = text/read.tf ]; then click_on "$menu" menu Label2; else click_on "$menu" menu Label3; fi
  read -r box _ < <(wait_message_box)
  check "$file missing: a message comes up" test -n "$box"
  sleep 2
  check "$file missing: two seconds later the message is still there" test -n "$(message_boxes)"
  check "$file missing: and the game still runs" kill -0 "$game_pid"
  check "$file missing: it names the file" said "Файл «${file//\//\\}»: файл не найден."
  dismiss_message_box "$box"
  wait_exit 30
  check "$file missing: dismissed, the game ends with status 1 ($exit_status)" test "$exit_status" = 1
  check "$file missing: the flags are untouched ($(flag_word))" test "$(flag_word)" = 111
}

# Temporary files of killed flag writes are removed at start; nothing else
# that merely looks like one.
trial_leftovers() {
  local engdat=$lane_dir/game/engdat
  printf '0\r\n' >"$engdat/b.gdf.Ab12Cd"
  printf '1\r\n' >"$engdat/bc.gdf.zz99ZZ"
  printf 'keep' >"$lane_dir/precious"
  ln -s "$lane_dir/precious" "$engdat/c.gdf.Link01"
  mkfifo "$engdat/b.gdf.Fifo01"
  printf '0\r\n' >"$engdat/b.gdf.new.4242"
  printf '0\r\n' >"$engdat/b.gdf.Ab12C"
  start_game
  reach_screen splash >/dev/null || { check "leftovers: the game starts" false; show_log; return; }
  check "leftovers: both temporary flag files are gone" test ! -e "$engdat/b.gdf.Ab12Cd" -a ! -e "$engdat/bc.gdf.zz99ZZ"
  check "leftovers: a link of that name stays, and its file" test -L "$engdat/c.gdf.Link01" -a "$(cat "$lane_dir/precious")" = keep
  check "leftovers: a FIFO of that name stays" test -p "$engdat/b.gdf.Fifo01"
  check "leftovers: names of other patterns stay" test -f "$engdat/b.gdf.new.4242" -a -f "$engdat/b.gdf.Ab12C"
  check "leftovers: the flags are untouched ($(flag_word))" test "$(flag_word)" = 111
  stop_patiently
}

# A read-only engdat/ holding writable flags. Root ignores permissions, so
# the game then plays as an unprivileged user (run_as).
make_flag_folder_read_only() {
  local engdat=$lane_dir/game/engdat
  chmod 666 "$engdat"/*.gdf
  if [ "$(id -u)" = 0 ]; then
    chown 65534:65534 "$lane_dir/game"
    chmod 755 "$lane_dir" "$engdat"
    chown 0:0 "$engdat"
    run_as="setpriv --reuid=65534 --regid=65534 --clear-groups --"
  else
    chmod 555 "$engdat"
  fi
}
give_the_flag_folder_back() {
  chmod 755 "$lane_dir/game/engdat"
  chown -R "$(id -u):$(id -g)" "$lane_dir/game"
}

# A read-only engdat/ whose flag files may be written: the reset on close
# writes them in place.
trial_read_only_folder() {
  local engdat=$lane_dir/game/engdat before
  make_flag_folder_read_only
  before=$(inode "$engdat/b.gdf"):$(inode "$engdat/c.gdf"):$(inode "$engdat/bc.gdf")
  start_game
  run_as=
  reach_screen story >/dev/null || { check "read-only engdat: the story opens" false; show_log; give_the_flag_folder_back; return; }
  stop_patiently
  check "read-only engdat: SIGTERM ends the game with status 0 ($exit_status)" test "$exit_status" = 0
  check "read-only engdat: every flag is reset ($(flag_word))" test "$(flag_word)" = 000
  check "read-only engdat: written in place, the same files" \
    test "$(inode "$engdat/b.gdf"):$(inode "$engdat/c.gdf"):$(inode "$engdat/bc.gdf")" = "$before"
  check "read-only engdat: nothing else in the folder" test "$(ls -A "$engdat" | wc -l)" = 3
  check "read-only engdat: no message" test "$(grep '^tessaranium: ' "$lane_dir/game.log" | grep -vc '^tessaranium: music: ')" = 0
  give_the_flag_folder_back
}

# The same folder, b.gdf with a second name elsewhere: writing it in place
# would change the other name too, so the reset refuses it and says why.
trial_hard_linked_flag() {
  make_flag_folder_read_only
  ln "$lane_dir/game/engdat/b.gdf" "$lane_dir/second-name"
  start_game
  run_as=
  reach_screen story >/dev/null || { check "hard-linked flag: the story opens" false; show_log; give_the_flag_folder_back; return; }
  stop_patiently
  check "hard-linked flag: SIGTERM ends the game with status 1 ($exit_status)" test "$exit_status" = 1
  check "hard-linked flag: the error stream names the flag and its second name" \
    said 'Не удалось сбросить прогресс истории. Файл «engdat\b.gdf»: у файла есть другие имена (жёсткие ссылки), и запись изменила бы и их.'
  check "hard-linked flag: the other name is untouched" test "$(od -An -c "$lane_dir/second-name" | tr -d ' ')" = '1\r\n'
  check "hard-linked flag: the reset stopped at it ($(flag_word))" test "$(flag_word)" = 111
  rm -f "$lane_dir/second-name"
  give_the_flag_folder_back
}

# Whether the X server shows the game's cursor over WINDOW: the size and
# hotspot of the first picture in cursor/cur.cgf.
shows_game_cursor() {  # shows_game_cursor WINDOW
  local entry expected
  entry=$(od -An -tu1 -j6 -N8 "$source_dir/cursor/cur.cgf")
  # shellcheck disable=SC2086
  set -- "$1" $entry
  expected="$2 $3 $(($6 + 256 * $7)) $(($8 + 256 * $9))"
  xdotool mousemove --window "$1" 300 200
  for _ in $(seq 1 30); do
    [ "$(/usr/bin/python3 "$here/../lib/cursor_image.py")" = "$expected" ] && return 0
    sleep 0.1
  done
  return 1
}

# The game in the folder $lane_dir/game leads to, whatever its name: it plays
# the story with its music and cursor, keeps its lock there, refuses a second
# copy (SIGTERM on the second copy's message ends it with status 1, as
# dismissing it does) and keeps the first one's flags; nothing lands at the
# root of the file system.
plays_and_guards() {  # plays_and_guards LABEL
  local label=$1 story first second box status
  local -a roots_before
  roots_before=(/.tessaranium.*)
  cp "$source_dir"/sound/*.mp3 "$lane_dir/game/sound/"
  start_game
  story=$(reach_screen story) || { check "$label: the story opens" false; show_log; run_as=; return; }
  first=$game_pid
  check "$label: the story's music plays from the folder" holds_open "$first" "$lane_dir/game/sound/trackgp.mp3"
  check "$label: the game's cursor is shown" shows_game_cursor "$story"
  check "$label: the lock lies in the folder" test -f "$lane_dir/game/.tessaranium.lock"
  start_game second; second=$game_pid; game_pid=$first
  run_as=
  read -r box _ < <(wait_message_box)
  check "$label: a second copy says the game runs" \
    test -n "$box" -a "$(grep -c '^tessaranium: Игра уже запущена' "$lane_dir/second.log")" = 1
  kill -TERM "$second"
  wait "$second"; status=$?
  check "$label: SIGTERM on its message ends the second copy with status 1 ($status)" test "$status" = 1
  for _ in $(seq 1 20); do [ -e "$lane_dir/game/.tessaranium.call" ] || break; sleep 0.1; done
  check "$label: the running game took the second copy's call to come to the front" \
    test ! -e "$lane_dir/game/.tessaranium.call"
  check "$label: the first copy's flags are untouched ($(flag_word))" test "$(flag_word)" = 111
  check "$label: nothing is made at the root of the file system" test "$(echo /.tessaranium.*)" = "${roots_before[*]}"
  stop_patiently
  check "$label: SIGTERM ends the first copy with status 0 ($exit_status), flags reset ($(flag_word))" \
    test "$exit_status" = 0 -a "$(flag_word)" = 000
}

# A game folder and HOME named in CP1251 bytes («Игры»), as unzipping a
# Windows archive gives: no text in any encoding the game would decode.
trial_odd_name() {
  local odd
  odd="$lane_dir/$(printf '\310\343\360\373')"
  rm -rf "$odd"
  mv "$lane_dir/game" "$odd"
  ln -s "$odd" "$lane_dir/game"
  run_as="env HOME=$odd"
  plays_and_guards "odd name"
  rm "$lane_dir/game"
  mv "$odd" "$lane_dir/game"
}

# A game folder whose path is longer than the system takes whole (PATH_MAX,
# 4096 bytes): the test reaches it through two links, the game only relative
# to where it runs.
trial_deep_folder() {
  local deep=$lane_dir/deep half
  half=$(printf "%0250d/" $(seq 1 9) | tr 0 d)
  half=${half%/}
  rm -rf "$deep"
  mkdir -p "$deep/$half"
  (cd "$deep/$half" && mkdir -p "$half" && cd "$half" && cp -a "$lane_dir/game/." .)
  rm -rf "$lane_dir/game"
  ln -s "$deep/$half" "$lane_dir/half"
  ln -s "$lane_dir/half/$half" "$lane_dir/game"
  run_as=env  # bash's own exec would build the whole path first
  plays_and_guards "folder deeper than PATH_MAX"
  rm -rf "$lane_dir/game" "$lane_dir/half" "$deep"
}

run_lane() {  # run_lane NUMBER TRIAL...
  lane_dir="$work/lane$1"
  shift
  mkdir -p "$lane_dir"
  chmod 755 "$lane_dir"
  # shellcheck source=../lib/real_game.sh
  . "$here/../lib/real_game.sh"
  # shellcheck source=../lib/checks.sh
  . "$here/../lib/checks.sh"
  trap lane_cleanup EXIT
  start_xvfb
  local trial
  for trial in "$@"; do
    lay_out_game
    rm -f "$lane_dir/precious" "$lane_dir/node"
    # shellcheck disable=SC2086
    trial_$trial
    # A trial that went wrong may leave a game or a box behind.
    if [ -n "$game_pid" ]; then lane_cleanup; start_xvfb; fi
  done
}

trials=(link_to_file link_to_device "missing_text text/read.tf" "missing_text text/into.tf"
        leftovers read_only_folder hard_linked_flag odd_name deep_folder)
for file in text/read.tf text/into.tf text/gt1.tf engdat/c.gdf cursor/cur.cgf; do
  for kind in fifo zero; do trials+=("odd_file $kind $file"); done
done

# shellcheck source=../lib/real_game.sh
. "$here/../lib/real_game.sh"
run_trials_in_lanes "${trials[@]}"
[ "$failed" -eq 0 ] && [ "$passed" -gt "${#trials[@]}" ]
