#!/usr/bin/env bash
# One game per game folder, on the real game: two copies started together,
# a second start while a game is being played (the running one comes to the
# front), and a start after a game was killed (its lock is stale). The
# second copy tells the player in one message and ends with status 1; the
# story flags are untouched by it.
# Usage: two_copies.sh GAME_EXECUTABLE SOURCE_DIR
set -u
game_binary=$1
source_dir=$2
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
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
    test -n "$(windows_of_width 800)"
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

lane_dir="$work/lane"
mkdir -p "$lane_dir"
# shellcheck source=../lib/real_game.sh
. "$here/../lib/real_game.sh"
# shellcheck source=../lib/checks.sh
. "$here/../lib/checks.sh"
cleanup() {
  lane_cleanup
  kill $(jobs -p) 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb
for trial in together while_playing after_kill; do
  lay_out_game
  "trial_$trial"
  # A trial that went wrong may leave a game behind: a fresh server.
  if [ -n "$game_pid" ]; then lane_cleanup; start_xvfb; fi
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -ge 20 ]
