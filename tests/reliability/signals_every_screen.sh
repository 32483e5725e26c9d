#!/usr/bin/env bash
# SIGTERM, SIGHUP and SIGINT on every screen of the real game: each ends the
# game through its close handler within a second, with exit status 0, the
# story flags reset where closing that screen resets them (story, game over,
# console) and kept where it keeps them (splash, menu, about, intro).
# Trials run in lanes side by side, each lane on its own virtual X server.
# Usage: signals_every_screen.sh GAME_EXECUTABLE SOURCE_DIR [LANES]
set -u
game_binary=$1
source_dir=$2
lanes=${3:-4}
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

expected_flags() {
  case $1 in
    story | gameover | console) echo 000 ;;
    *) echo 111 ;;
  esac
}

run_lane() {  # run_lane NUMBER TRIAL...
  lane_dir="$work/lane$1"
  shift
  mkdir -p "$lane_dir"
  # shellcheck source=../lib/real_game.sh
  . "$here/../lib/real_game.sh"
  trap lane_cleanup EXIT
  start_xvfb
  local trial screen signal window flags
  for trial in "$@"; do
    screen=${trial%:*}
    signal=${trial#*:}
    lay_out_game
    start_game
    if ! window=$(reach_screen "$screen"); then
      echo "FAIL: the game reaches the $screen screen before SIG$signal"
      sed 's/^/    game: /' "$lane_dir/game.log"
      lane_cleanup; start_xvfb
      continue
    fi
    stop_with "$signal"
    flags=$(flag_word)
    if [ "$exit_status" = 0 ] && [ "$flags" = "$(expected_flags "$screen")" ]; then
      echo "PASS: SIG$signal on the $screen screen ends the game in ${gone_ms} ms with status 0 and flags $flags"
    else
      echo "FAIL: SIG$signal on the $screen screen: exit status $exit_status, flags $flags (expected 0 and $(expected_flags "$screen"))"
      sed 's/^/    game: /' "$lane_dir/game.log"
      lane_cleanup; start_xvfb
    fi
  done
}

trials=()
for screen in splash menu about intro story gameover console; do
  for signal in TERM HUP INT; do trials+=("$screen:$signal"); done
done

# shellcheck source=../lib/real_game.sh
. "$here/../lib/real_game.sh"
run_trials_in_lanes "${trials[@]}"
[ "$failed" -eq 0 ] && [ "$passed" -eq "${#trials[@]}" ]
