#!/usr/bin/env bash
# The screenshots software centres show (AppStream), and the only way they
# are made: the real game on a virtual X server, brought to the menu, the
# first page of the story and the console, each window captured as a PNG
# without time stamps. Every screen's picture is 800 × 600 and its window a
# few pixels smaller (797 × 591 for the console), which cuts the picture's
# frame at the right and bottom; each window is therefore widened to the
# picture's 800 × 600 before it is captured, so the three images are whole
# and of one size. The window's controls stay where the game puts them.
#
# Writes OUT_DIR/{menu,story,console}.png: by default packaging/screenshots/,
# which are committed (run this again when a screen changes, and publish the
# files under the address TESS_SCREENSHOT_URL names, packaging/CMakeLists.txt).
# The package test writes them into a folder of its own and compares.
# Needs: xvfb, xdotool, x11-utils, imagemagick (tools/install-deps.sh test).
# Usage: tools/generators/make_screenshots.sh [GAME_EXECUTABLE [OUT_DIR]]
#        (default build/game/tessaranium, packaging/screenshots)
set -eu
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
game_binary=$(realpath "${1:-$source_dir/build/game/tessaranium}")
out=${2:-$source_dir/packaging/screenshots}
[ -x "$game_binary" ] || { echo "no game at $game_binary; build it first (make game)" >&2; exit 1; }

lane_dir=$(mktemp -d)
# shellcheck source=../tests/lib/real_game.sh
. "$source_dir/tests/lib/real_game.sh"
trap 'lane_cleanup; rm -rf "$lane_dir"' EXIT
start_xvfb
mkdir -p "$out"

width=800
height=600
for screen in menu story console; do
  lay_out_game
  # The story as a new player meets it: the shipped flags.
  cp "$source_dir"/engdat/*.gdf "$lane_dir/game/engdat/"
  start_game
  window=$(reach_screen "$screen") || { echo "the game did not reach the $screen screen" >&2; exit 1; }
  # Without a window manager the X server takes the new size as asked.
  xdotool windowsize "$window" "$width" "$height"
  for _ in $(seq 1 50); do
    xwininfo -id "$window" | grep -q "Width: $width\$" && xwininfo -id "$window" | grep -q "Height: $height\$" && break
    sleep 0.1
  done
  # Pictures and text are drawn once the window maps and resizes; give them a moment.
  sleep 1
  import -window "$window" "png:$lane_dir/shot.png"
  convert "$lane_dir/shot.png" -strip -define png:exclude-chunks=date,time "png:$out/$screen.png"
  end_game || true  # killed on purpose: its status is no failure
  size=$(identify -format '%wx%h' "$out/$screen.png")
  echo "$out/$screen.png: $size"
  [ "$size" = "${width}x$height" ] || { echo "the $screen screenshot is $size, not ${width}x$height" >&2; exit 1; }
done
