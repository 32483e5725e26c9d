#!/usr/bin/env bash
# The screenshots software centres show (AppStream): the real game on a
# virtual X server, brought to the menu, the first page of the story and the
# console, each window captured as a PNG without time stamps. Writes
# packaging/screenshots/{menu,story,console}.png, which are committed; run it
# again when the screens change, and publish the files under the address
# TESS_SCREENSHOT_URL names (packaging/CMakeLists.txt).
# Needs: xvfb, xdotool, x11-utils, imagemagick (tools/install-deps.sh).
# Usage: tools/make_screenshots.sh [GAME_EXECUTABLE]   (default build/game/tessaranium)
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
game_binary=$(realpath "${1:-$source_dir/build/game/tessaranium}")
out=$source_dir/packaging/screenshots
[ -x "$game_binary" ] || { echo "no game at $game_binary; build it first (make build)" >&2; exit 1; }

lane_dir=$(mktemp -d)
# shellcheck source=../tests/lib/real_game.sh
. "$source_dir/tests/lib/real_game.sh"
trap 'lane_cleanup; rm -rf "$lane_dir"' EXIT
start_xvfb
mkdir -p "$out"

for screen in menu story console; do
  lay_out_game
  # The story as a new player meets it: the shipped flags.
  cp "$source_dir"/engdat/*.gdf "$lane_dir/game/engdat/"
  start_game
  window=$(reach_screen "$screen") || { echo "the game did not reach the $screen screen" >&2; exit 1; }
  # Pictures and text are drawn once the window maps; give them a moment.
  sleep 1
  import -window "$window" "png:$lane_dir/shot.png"
  convert "$lane_dir/shot.png" -strip -define png:exclude-chunks=date,time "png:$out/$screen.png"
  kill -9 "$game_pid" 2>/dev/null
  wait "$game_pid" 2>/dev/null || true
  game_pid=
  echo "$out/$screen.png: $(identify -format '%wx%h' "$out/$screen.png")"
done
