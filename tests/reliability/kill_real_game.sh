#!/usr/bin/env bash
# The real game killed with SIGKILL while it resets the story flags on close:
# it is brought to the story, game-over or console screen with every flag at
# "1", asked to close with SIGTERM (which resets b, c and bc in this order),
# and killed at a random moment of that close. Afterwards every flag file
# holds exactly "0" or "1" and CR LF, and the flags read as a reset cut short
# in order: 111, 011, 001 or 000.
# Usage: kill_real_game.sh GAME_EXECUTABLE SOURCE_DIR KILL_AT [TRIALS_PER_LANE] [LANES] [SEED]
set -u
game_binary=$1
source_dir=$2
kill_at=$3
per_lane=${4:-6}
lanes=${5:-4}
seed=${6:-4711}
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

run_lane() {  # run_lane NUMBER
  lane_dir="$work/lane$1"
  RANDOM=$((seed + $1))
  mkdir -p "$lane_dir"
  # shellcheck source=../lib/real_game.sh
  . "$here/../lib/real_game.sh"
  trap lane_cleanup EXIT
  start_xvfb
  local trial screen span=20000 how flags status
  local screens=(story story gameover console)
  for ((trial = 1; trial <= per_lane; trial++)); do
    screen=${screens[$((RANDOM % 4))]}
    lay_out_game
    start_game
    if ! reach_screen "$screen" >/dev/null; then
      echo "FAIL: lane $1 trial $trial: the game reaches the $screen screen"
      sed 's/^/    game: /' "$lane_dir/game.log"
      lane_cleanup; start_xvfb
      continue
    fi
    if [ "$trial" -eq 1 ]; then
      # The first close of a lane runs to its end and times it; later kills
      # fall within that span.
      span=$("$kill_at" --time "$game_pid")
      how="closed in full in $span us"
      case "$span" in '' | *[!0-9]*) how="SIGTERM left it $span"; span=20000 ;; esac
    elif [ $((RANDOM % 2)) -eq 0 ]; then
      how=$("$kill_at" "$game_pid" $(((RANDOM * 32768 + RANDOM) % (span + 1))))
    else
      how=$("$kill_at" "$game_pid" $((RANDOM % 300)) "$lane_dir/game/engdat" $((1 + RANDOM % 12)))
    fi
    wait "$game_pid" 2>/dev/null
    status=$?
    game_pid=
    flags=$(flag_word)
    case "$flags" in
      111 | 011 | 001 | 000)
        echo "PASS: lane $1 trial $trial on the $screen screen: $how; exit $status; flags $flags" ;;
      *)
        echo "FAIL: lane $1 trial $trial on the $screen screen: $how; exit $status; flags $flags"
        for flag in b c bc; do od -c "$lane_dir/game/engdat/$flag.gdf" 2>&1 | sed "s/^/    $flag: /"; done ;;
    esac
    if [ "$trial" -eq 1 ] && [ "$flags" != 000 -o "$status" != 0 ]; then
      echo "FAIL: lane $1: SIGTERM alone on the $screen screen resets every flag and ends with status 0 (flags $flags, exit $status)"
    fi
    ls -A "$lane_dir/game/engdat" | grep -v -x -e b.gdf -e c.gdf -e bc.gdf | sed 's/^/STRAY: /'
  done
}

for ((lane = 0; lane < lanes; lane++)); do
  run_lane "$lane" >"$work/lane$lane.out" 2>&1 &
done
wait

cat "$work"/lane*.out
all=$(cat "$work"/lane*.out)
passed=$(grep -c '^PASS' <<<"$all")
failed=$(grep -c '^FAIL' <<<"$all")
echo "kills cut the reset short: $(grep -c -E '^PASS.*killed.*flags (011|001)' <<<"$all"), \
before it began: $(grep -c -E '^PASS.*killed.*flags 111' <<<"$all"), \
after or during its last write: $(grep -c -E '^PASS.*killed.*flags 000' <<<"$all")"
echo "temporary files left in engdat/: $(grep -c '^STRAY' <<<"$all")"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -eq $((lanes * per_lane)) ]
