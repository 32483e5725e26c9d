#!/usr/bin/env bash
# The real game as a screen reader meets it: on its own virtual X server, in a
# private D-Bus session with the accessibility bus, the menu, the intro and the
# first pages of the story are played through AT-SPI press actions and the
# story pane is read back (atspi_story_check.py).
# Usage: atspi_story_test.sh GAME_BINARY SOURCE_DIR
# Exit status 77 (a skip) only when the accessibility bus cannot start.
set -u
game_binary=$1
source_dir=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../lib/real_game.sh
source "$source_dir/tests/lib/real_game.sh"
# shellcheck source=atspi_lane.sh
source "$here/atspi_lane.sh"

run_atspi_check "$here/atspi_story_check.py" "$lane_dir/game"
