#!/usr/bin/env bash
# The real game played by keys alone with its accessibility bridge on: on its
# own virtual X server, in a private D-Bus session with the accessibility
# bus, atspi_keys_check.py presses keys and reads the focus through AT-SPI.
# Usage: atspi_keys_test.sh GAME_BINARY SOURCE_DIR
# Exit status 77 (a skip) only when the accessibility bus cannot start.
set -u
game_binary=$1
source_dir=$2
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../lib/real_game.sh
source "$source_dir/tests/lib/real_game.sh"
# shellcheck source=atspi_lane.sh
source "$here/atspi_lane.sh"

run_atspi_check "$here/atspi_keys_check.py" "$lane_dir/game" "$here/route_to_code_box.tsv"
