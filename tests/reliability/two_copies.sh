#!/usr/bin/env bash
# One game per game folder, on the real game: two copies started together,
# a second start while a game is being played (the running one comes to the
# front), and a start after a game was killed (its lock is stale). The
# second copy tells the player in one message and ends with status 1; the
# story flags are untouched by it. A lock file no running game holds never
# stops a start: one from another machine, one a killed game run as root
# left in the player's folder, one copied along with a running game's folder.
# Usage: two_copies.sh GAME_EXECUTABLE SOURCE_DIR
set -u
game_binary=$1
source_dir=$2
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
chmod 755 "$work"  # the root-lock trials play as an unprivileged user
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

already='tessaranium: Игра уже запущена: её окно открыто.'

# Window ids on the root window, top first, as decimal numbers.
stacking() {
  xwininfo -root -children | grep -oE '^ +0x[0-9a-f]+' | while read -r id; do printf '%d\n' "$id"; done
}
# Whether window $1 lies above window $2.
above() {
  local order
  order=$(stacking)
  [ "$(grep -nx "$1" <<<"$order" | cut -d: -f1)" -lt "$(grep -nx "$2" <<<"$order" | cut -d: -f1)" ]
}

reach_menu() { reach_screen menu >/dev/null; }

# Waits for the second copy's message, dismisses it, and checks that this
# copy, and only it, said so and ended with status 1.
second_copy_ends() {  # second_copy_ends LABEL PID LOG
  local label=$1 pid=$2 log=$3 box status=
  read -r box _ < <(wait_message_box)
  check "$label: the second copy shows a message" test -n "$box"
  check "$label: it says the game already runs" grep -qxF "$already" "$lane_dir/$log.log"
  check "$label: in one line" test "$(grep -c '^tessaranium:' "$lane_dir/$log.log")" = 1
  [ -n "$box" ] && dismiss_message_box "$box"
  for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"; status=$?
  else
    kill -9 "$pid" 2>/dev/null; wait "$pid" 2>/dev/null  # so the next trial starts clean
  fi
  check "$label: dismissed, the second copy ends with status 1 (${status:-still running})" test "$status" = 1
}

trial_together() {
  local first second loser winner loser_log winner_log
  start_game first; first=$game_pid
  start_game second; second=$game_pid
  for _ in $(seq 1 150); do
    grep -qF "$already" "$lane_dir/first.log" "$lane_dir/second.log" 2>/dev/null && break
    sleep 0.1
  done
  if grep -qF "$already" "$lane_dir/first.log"; then
    loser=$first; winner=$second; loser_log=first; winner_log=second
  else
    loser=$second; winner=$first; loser_log=second; winner_log=first
  fi
  second_copy_ends "started together" "$loser" "$loser_log"
  check "started together: the other copy does not say so" test "$(grep -c 'уже запущена' "$lane_dir/$winner_log.log")" = 0
  game_pid=$winner
  check "started together: the other copy plays on to the menu" reach_menu
  check "started together: the flags are untouched ($(flag_word))" test "$(flag_word)" = 111
  stop_patiently
  check "started together: SIGTERM ends the one that runs with status 0 ($exit_status)" test "$exit_status" = 0
}

trial_while_playing() {
  local story cover second
  start_game
  story=$(reach_screen story) || { check "while playing: the story opens" false; return; }
  # Another program's window over the game.
  xmessage -geometry 800x600+0+0 -name cover 'another program' 2>/dev/null &
  cover_pid=$!
  for _ in $(seq 1 50); do
    cover=$(xdotool search --classname cover 2>/dev/null | head -n 1)
    [ -n "$cover" ] && xwininfo -id "$cover" | grep -q IsViewable && break
    sleep 0.1
  done
  check "while playing: another window lies over the game" above "$cover" "$story"
  local first=$game_pid
  start_game second; second=$game_pid; game_pid=$first
  second_copy_ends "while playing" "$second" second
  check "while playing: the running game came to the front" above "$story" "$cover"
  check "while playing: the running game is still on its story screen" \
    test -n "$(windows_of_width "$(width_of story)")"
  check "while playing: the flags are untouched ($(flag_word))" test "$(flag_word)" = 111
  kill "$cover_pid" 2>/dev/null; wait "$cover_pid" 2>/dev/null
  stop_patiently
  check "while playing: closing the game resets its flags ($(flag_word))" test "$(flag_word)" = 000
}

trial_after_kill() {
  start_game
  reach_screen splash >/dev/null
  kill -9 "$game_pid"; wait "$game_pid" 2>/dev/null; game_pid=
  check "after a kill: the killed game's lock is left behind" test -f "$lane_dir/game/.tessaranium.lock"
  start_game
  check "after a kill: the next start plays (the lock was stale)" reach_menu
  check "after a kill: with no message" test -z "$(message_boxes)"
  stop_patiently
  check "after a kill: SIGTERM ends it with status 0 and its lock goes ($exit_status)" \
    test "$exit_status" = 0 -a ! -e "$lane_dir/game/.tessaranium.lock"
}

# The game starts as if no lock were there: the menu, no message.
starts_unhindered() {  # starts_unhindered LABEL
  check "$1: the game starts and reaches its menu" reach_menu
  check "$1: with no message" test -z "$(message_boxes)" -a "$(grep -c 'уже запущена' "$lane_dir/game.log")" = 0
}

# A lock written by a game on another machine (a home shared over NFS, a
# restored backup, a USB stick) a week ago, in the form earlier versions
# wrote (process, program, host): no process here holds it.
trial_other_machine() {
  printf '4242\ntessaranium\nanother-machine\n' >"$lane_dir/game/.tessaranium.lock"
  touch -d '7 days ago' "$lane_dir/game/.tessaranium.lock"
  start_game
  starts_unhindered "another machine's lock"
  check "another machine's lock: now names this game" \
    test "$(head -n 1 "$lane_dir/game/.tessaranium.lock")" = "$game_pid"
  stop_patiently
  check "another machine's lock: SIGTERM ends the game with status 0 ($exit_status)" test "$exit_status" = 0
}

# A killed game run as root left its lock in the player's folder, readable
# (MODE 644) or not even that (600); the player's own start takes the
# folder back.
trial_root_lock() {  # trial_root_lock MODE
  local label="a killed root game's lock ($1)" owner
  start_game
  reach_screen splash >/dev/null
  kill -9 "$game_pid"; wait "$game_pid" 2>/dev/null; game_pid=
  chmod "$1" "$lane_dir/game/.tessaranium.lock"
  chown -R 65534:65534 "$lane_dir/game"
  chown 0:0 "$lane_dir/game/.tessaranium.lock"
  run_as="setpriv --reuid=65534 --regid=65534 --clear-groups --"
  start_game
  run_as=
  starts_unhindered "$label"
  owner=$(stat -c %u "$lane_dir/game/.tessaranium.lock" 2>/dev/null)
  check "$label: the lock is now the player's (owner $owner)" test "$owner" = 65534
  stop_patiently
  check "$label: SIGTERM ends the game with status 0 ($exit_status)" test "$exit_status" = 0
  chown -R "$(id -u):$(id -g)" "$lane_dir/game"
}

# A running game's folder copied whole, its lock file with it: the copy is a
# game folder of its own and plays beside the first.
trial_copied_folder() {
  local first menu copy_splash copy_menu=
  start_game
  menu=$(reach_screen menu) || { check "copied folder: the first game reaches its menu" false; return; }
  first=$game_pid
  cp -a "$lane_dir/game" "$lane_dir/copy"
  check "copied folder: the copy carries the lock file" test -f "$lane_dir/copy/.tessaranium.lock"
  (cd "$lane_dir/copy" && QT_QPA_PLATFORM=xcb exec ./tessaranium >"$lane_dir/copy.log" 2>&1) &
  game_pid=$!
  copy_splash=$(new_window_of_width "$(width_of splash)" "$menu") \
    && copy_menu=$(wait_tenths=300 new_window_of_width "$(width_of menu)" "$menu" "$copy_splash")
  check "copied folder: the copy plays to its own menu" test -n "$copy_menu"
  check "copied folder: with no message" test -z "$(message_boxes)" -a "$(grep -c 'уже запущена' "$lane_dir/copy.log")" = 0
  stop_patiently
  check "copied folder: SIGTERM ends the copy with status 0 ($exit_status)" test "$exit_status" = 0
  game_pid=$first
  check "copied folder: the first game still runs" kill -0 "$first"
  stop_patiently
  check "copied folder: SIGTERM ends the first with status 0 ($exit_status)" test "$exit_status" = 0
  rm -rf "$lane_dir/copy"
}

# shellcheck source=../lib/real_game.sh
. "$here/../lib/real_game.sh"
# shellcheck source=../lib/checks.sh
. "$here/../lib/checks.sh"
one_lane
chmod 755 "$lane_dir"
start_xvfb
for trial in together while_playing after_kill other_machine "root_lock 644" "root_lock 600" copied_folder; do
  lay_out_game
  # shellcheck disable=SC2086
  trial_$trial
  # A trial that went wrong may leave a game behind: a fresh server.
  if [ -n "$game_pid" ]; then lane_cleanup; start_xvfb; fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -ge 39 ]
