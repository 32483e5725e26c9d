#!/usr/bin/env bash
# The launcher installed into a prefix, starting the real game on a virtual X
# server, against what players and attackers leave in the player's folder:
# help and errors before anything is copied (-h, no display, a path longer
# than the system takes), a folder in place of a page, text/ a link to a
# folder of the player's, engdat/ a link, a FIFO in place of the stamp, a
# program of the launcher's that hangs when the launcher is killed (the
# folder's lock must not stay with it), a second start after an upgrade
# while the game plays, and where ps says the game lies.
# Usage: installed_launcher.sh BUILD_DIR SOURCE_DIR
set -u
build_dir=$1
source_dir=$2
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
# shellcheck source=../lib/real_game.sh
. "$here/../lib/real_game.sh"
# shellcheck source=../lib/checks.sh
. "$here/../lib/checks.sh"
one_lane

prefix="$work/game prefix"
cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1 \
  || { cat "$work/install.log"; echo "0 passed, 1 failed"; exit 1; }
launcher="$prefix/games/tessaranium"
data_dir="$prefix/share/tessaranium"
home="$work/home"
player="$home/.local/share/tessaranium"
mkdir -p "$home"
start_xvfb

# Runs the launcher as a player would, from another folder, with the
# environment changes given; its stderr goes to $lane_dir/launcher.log. It is
# expected to stop with a message, which on a desktop would also wait in a
# window: the display is named only to the game (QT_QPA_PLATFORM).
launch() {  # launch [ENV-ASSIGNMENT | -u NAME]...
  (cd / && timeout 20 env -u XDG_DATA_HOME -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" QT_QPA_PLATFORM=xcb "$@" \
     "$launcher" 2>"$lane_dir/launcher.log")
}
# Starts the game through the launcher in the background: the launcher execs
# the game, so the pid becomes the game's.
start_launcher() {  # start_launcher [ENV-ASSIGNMENT]...
  (cd / && exec env -u XDG_DATA_HOME HOME="$home" QT_QPA_PLATFORM=xcb "$@" "$launcher" >"$lane_dir/game.log" 2>&1) &
  game_pid=$!
}
# As start_launcher, then waits for the game's splash.
launch_game() {
  start_launcher "$@"
  reach_screen splash >/dev/null
}
no_temporaries() {
  [ -z "$(find "$player" -name '.seed.*' -o -name '.update.*')" ]
}

# --- Before anything is copied --------------------------------------------------

help=$(cd / && HOME="$home" timeout 20 "$launcher" -h)
check "-h prints the help in Russian and starts nothing" \
  bash -c 'grep -q "^Использование: tessaranium" <<<"$1" && [ ! -e "$2/.local" ]' _ "$help" "$home"
status=$(launch QT_QPA_PLATFORM= >/dev/null; echo $?)
check "without a display the launcher stops with status 1 ($status), says so in Russian, copies nothing" \
  bash -c '[ "$1" = 1 ] && grep -q "нет дисплея" "$2" && [ ! -e "$3/.local" ]' _ "$status" "$lane_dir/launcher.log" "$home"
deep=$work/$(printf "%0250d/" $(seq 1 20) | tr 0 d)
status=$(launch XDG_DATA_HOME="$deep" >/dev/null; echo $?)
check "a game folder path longer than the system takes is refused ($status) before anything is made" \
  bash -c '[ "$1" = 1 ] && grep -q "длиннее, чем позволяет система" "$2" && [ -z "$(ls "$3" | grep ^d)" ]' \
  _ "$status" "$lane_dir/launcher.log" "$work"

# --- A first start, and where the game runs ---------------------------------------

launch_game
check "the first start plays: the splash comes up" test -n "$(windows_of_width "$(width_of splash)")"
started_as=$(tr '\0' '\n' <"/proc/$game_pid/cmdline" | head -n 1)
check "ps shows the game where it lies, without \"..\" ($started_as)" \
  test "$started_as" = "$(cd "$prefix/libexec/tessaranium" && pwd -P)/tessaranium"
check "the game runs in the player's folder" test "$(readlink "/proc/$game_pid/cwd")" = "$player"

# --- A second start after an upgrade, while the game plays -------------------------

stamp_before=$(cat "$player/.installed-data.sha256")
printf 'an upgraded page\r\n' >"$data_dir/text/read.tf"
(cd "$data_dir" && find text sound engdat -type f | sort | xargs sha256sum >data.sha256)
first=$game_pid
start_launcher
second=$game_pid
game_pid=$first
read -r box _ < <(wait_message_box)
check "a second start after an upgrade reaches the running game, which says so" \
  bash -c '[ -n "$1" ] && grep -q "Игра уже запущена" "$2"' _ "$box" "$lane_dir/game.log"
kill -TERM "$second"
wait "$second"
check "nothing was refreshed under the running game" \
  bash -c '! cmp -s "$1/text/read.tf" "$2/text/read.tf" && [ "$(cat "$2/.installed-data.sha256")" = "$3" ]' \
  _ "$data_dir" "$player" "$stamp_before"
check "and no temporary is left" no_temporaries
stop_patiently
launch_game
check "once the game has ended, the next start brings the upgrade" cmp -s "$data_dir/text/read.tf" "$player/text/read.tf"
stop_patiently

# --- Things in place of the launcher's files ---------------------------------------

rm "$player/text/gt7.tf"
mkdir -p "$player/text/gt7.tf/inside"
launch_game
stop_patiently
launch_game
stop_patiently
check "a folder in place of a page is replaced by the page, nothing moved into it" \
  bash -c '[ -f "$2/text/gt7.tf" ] && cmp -s "$1/text/gt7.tf" "$2/text/gt7.tf"' _ "$data_dir" "$player"
check "two starts leave no temporary" no_temporaries

mkdir -p "$home/Documents"
printf 'mine\n' >"$home/Documents/note.txt"
rm -rf "$player/text"
ln -s "$home/Documents" "$player/text"
launch_game
stop_patiently
check "text/ as a link to the player's folder is replaced by a real folder of the pages" \
  bash -c '[ -d "$2/text" ] && [ ! -L "$2/text" ] && diff -r "$1/text" "$2/text" >/dev/null' _ "$data_dir" "$player"
check "nothing is written into the folder the link led to" \
  test "$(ls -A "$home/Documents")" = note.txt -a "$(cat "$home/Documents/note.txt")" = mine

mkdir -p "$home/elsewhere"
mv "$player/engdat" "$player/engdat.real"
ln -s "$home/elsewhere" "$player/engdat"
launch_game
stop_patiently
check "engdat/ as a link: no flag is written through it, and the launcher says so in Russian" \
  bash -c '[ -z "$(ls -A "$1")" ] && grep -q "на месте папки .*engdat лежит ссылка" "$2"' _ "$home/elsewhere" "$lane_dir/game.log"
rm "$player/engdat"
mv "$player/engdat.real" "$player/engdat"

rm "$player/.installed-data.sha256"
mkfifo "$player/.installed-data.sha256"
launch_game
check "a FIFO in place of the stamp: the launcher goes on to the game" test -n "$(windows_of_width "$(width_of splash)")"
stop_patiently
check "and puts a whole stamp in its place" \
  bash -c '[ -f "$2" ] && cmp -s "$1" "$2"' _ "$data_dir/data.sha256" "$player/.installed-data.sha256"

# --- A program of the launcher's hangs, and the launcher is killed -----------------

mkdir -p "$work/slow bin"
printf '#!/bin/sh\nexec sleep 60\n' >"$work/slow bin/dd"
chmod +x "$work/slow bin/dd"
(cd / && exec env -u XDG_DATA_HOME HOME="$home" QT_QPA_PLATFORM=xcb PATH="$work/slow bin:$PATH" "$launcher") &
held=$!
hanging=
for _ in $(seq 1 50); do
  hanging=$(pgrep -P "$held" -x sleep) && break
  sleep 0.1
done
children=$(pgrep -P "$held")
kill -9 "$held"
wait "$held" 2>/dev/null
check "a launcher killed while its program hangs (${hanging:-not seen}) leaves the folder unlocked" \
  bash -c '[ -n "$1" ] && kill -0 "$1" && flock -n "$2" true' _ "$hanging" "$player"
# shellcheck disable=SC2086
kill $children 2>/dev/null

# --- Messages in Russian, as the game's -------------------------------------------

launch HOME=
check "without HOME the launcher says so in Russian" grep -q 'не заданы ни XDG_DATA_HOME, ни HOME' "$lane_dir/launcher.log"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -eq 19 ]
