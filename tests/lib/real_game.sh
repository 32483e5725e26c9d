# The one helper for driving the real game on a virtual X server (Xvfb):
# sourced, not run. Each lane of a script has its own X server, game folder
# and game process, so lanes run side by side without seeing each other.
# Needs: game_binary, source_dir, and lane_dir (a private folder) set.

xvfb_pid=
game_pid=

end_game() {
  [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null && wait "$game_pid" 2>/dev/null
  game_pid=
}

lane_cleanup() {
  end_game
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  xvfb_pid=
}

# For a script of one lane: its folder in $work, and on exit the game, the X
# server, the script's background jobs and $work go.
one_lane() {
  lane_dir="$work/lane"
  mkdir -p "$lane_dir"
  trap 'lane_cleanup; kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
}

start_xvfb() {
  rm -f "$lane_dir/display"
  # -noreset: a server that resets when its last client leaves refuses the
  # next game for a moment.
  Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$lane_dir/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 1 200); do
    [ -s "$lane_dir/display" ] && break
    sleep 0.05
  done
  export DISPLAY=":$(head -n 1 "$lane_dir/display")"
}

# A game folder as the game expects it, every flag set to "1" so resets show.
lay_out_game() {
  rm -rf "$lane_dir/game"
  mkdir -p "$lane_dir/game/engdat" "$lane_dir/game/sound"
  cp "$game_binary" "$lane_dir/game/tessaranium"
  # The music library lies beside the executable, as in the built game folder.
  cp "$(dirname "$game_binary")"/tessaranium-music.* "$lane_dir/game/"
  cp -r "$source_dir/text" "$source_dir/cursor" "$lane_dir/game/"
  for flag in b c bc; do printf '1\r\n' >"$lane_dir/game/engdat/$flag.gdf"; done
}

# Starts the game as a player does; its output goes to $lane_dir/LOG.log
# (game.log by default). run_as may name a command that runs it as another
# user (setpriv ...).
start_game() {
  # shellcheck disable=SC2086
  (cd "$lane_dir/game" && QT_QPA_PLATFORM=xcb exec ${run_as:-} ./tessaranium >"$lane_dir/${1:-game}.log" 2>&1) &
  game_pid=$!
}

# The three flags as one word, "?" for a file that is not exactly a digit and CR LF.
flag_word() {
  local flag bytes word=
  for flag in b c bc; do
    bytes=$(od -An -c "$lane_dir/game/engdat/$flag.gdf" 2>/dev/null | tr -d ' \n')
    case "$bytes" in
      '0\r\n') word="${word}0" ;;
      '1\r\n') word="${word}1" ;;
      *) word="${word}?" ;;
    esac
  done
  echo "$word"
}

# Waits (up to 5 s) until the process holds FILE open, as the media
# framework does a track it plays: compared by device and inode, which needs
# no path, however long.
holds_open() {  # holds_open PID FILE
  local want fd
  want=$(stat -Lc '%d:%i' "$2")
  for _ in $(seq 1 50); do
    for fd in /proc/"$1"/fd/*; do
      [ "$(stat -Lc '%d:%i' "$fd" 2>/dev/null)" = "$want" ] && return 0
    done
    sleep 0.1
  done
  return 1
}

# Ids of the game's viewable windows of the given width.
windows_of_width() {
  local width=$1 id
  for id in $(xdotool search --name 'Tessaranium' 2>/dev/null); do
    if xwininfo -id "$id" 2>/dev/null | grep -q "Width: $width\$" \
       && xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
      echo "$id"
    fi
  done
}

# Waits (up to $wait_tenths tenths of a second, 15 s by default) for a
# viewable window of the width that is not one of the ids given; prints its id.
new_window_of_width() {
  local width=$1 id
  shift
  for _ in $(seq 1 "${wait_tenths:-150}"); do
    for id in $(windows_of_width "$width"); do
      case " $* " in *" $id "*) ;; *) echo "$id"; return 0 ;; esac
    done
    sleep 0.1
  done
  return 1
}

# Waits (up to 5 s) until the window is no longer viewable.
window_gone() {
  for _ in $(seq 1 50); do
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable' || return 0
    sleep 0.1
  done
  return 1
}

# Ids of the game's viewable message boxes: windows with its title that are
# none of its screens (797 to 800 pixels wide).
message_boxes() {
  local id info
  for id in $(xdotool search --name 'Tessaranium' 2>/dev/null); do
    info=$(xwininfo -id "$id" 2>/dev/null) || continue
    grep -q 'Map State: IsViewable' <<<"$info" || continue
    grep -Eq 'Width: (797|798|799|800)$' <<<"$info" || echo "$id"
  done
}

# Waits (up to $wait_tenths tenths of a second, 15 s by default) for a
# message box; prints its id and the milliseconds it took.
wait_message_box() {
  local id start
  start=$(date +%s%N)
  for _ in $(seq 1 "${wait_tenths:-150}"); do
    id=$(message_boxes | head -n 1)
    if [ -n "$id" ]; then
      echo "$id $((($(date +%s%N) - start) / 1000000))"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Presses the message box's default button (Return), as a player would; on a
# busy machine the box may not have the focus yet, so it tries again.
dismiss_message_box() {
  for _ in 1 2 3 4 5; do
    xdotool windowfocus "$1" 2>/dev/null
    sleep 0.2
    xdotool key Return
    window_gone "$1" && return 0
  done
  return 1
}

# Asks the window to close as its close box does (WM_DELETE_WINDOW).
close_window() {
  /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/close_window.py" "$1"
}

# Waits up to $1 tenths of a second for the game to end by itself; sets
# exit_status ("still running" when it did not end).
wait_exit() {
  exit_status="still running"
  for _ in $(seq 1 "$1"); do
    if ! kill -0 "$game_pid" 2>/dev/null || [ "$(ps -o stat= -p "$game_pid" 2>/dev/null)" = Z ]; then
      wait "$game_pid"
      exit_status=$?
      game_pid=
      return
    fi
    sleep 0.1
  done
}

click() {  # click WINDOW X Y
  xdotool mousemove --window "$1" "$2" "$3" click 1
}

# Brings the game to the screen and prints the id of its window. Screens:
# splash menu about intro story gameover console. SPLASH: the splash's id,
# when it was seen already (the menu may have replaced it since).
reach_screen() {  # reach_screen SCREEN [SPLASH]
  local splash=${2:-} menu about intro story over console=
  [ -n "$splash" ] || splash=$(new_window_of_width 799) || return 1
  [ "$1" = splash ] && { echo "$splash"; return 0; }
  menu=$(new_window_of_width 799 "$splash") || return 1
  [ "$1" = menu ] && { echo "$menu"; return 0; }
  if [ "$1" = about ]; then
    click "$menu" 656 320
    about=$(new_window_of_width 797) && window_gone "$menu" && echo "$about"
    return
  fi
  click "$menu" 656 236
  intro=$(new_window_of_width 798) && window_gone "$menu" || return 1
  [ "$1" = intro ] && { echo "$intro"; return 0; }
  click "$intro" 396 524
  story=$(new_window_of_width 800) && window_gone "$intro" || return 1
  [ "$1" = story ] && { echo "$story"; return 0; }
  # Keys go to the window with the keyboard focus; with no window manager
  # to give it, the story window takes it itself.
  xdotool windowfocus --sync "$story" 2>/dev/null
  if [ "$1" = gameover ]; then
    xdotool key F8
    sleep 0.3
    click "$story" 620 512
    over=$(new_window_of_width 797) && window_gone "$story" && echo "$over"
    return
  fi
  if [ "$1" = console ]; then
    # The keypad separator has no key on this server's keyboard. A key of
    # its own is given to it once, as a player does with xmodmap: xdotool's
    # own loan maps and unmaps a key around every press, and a busy game
    # that read the keymap in between never sees the separator again. The
    # key is pressed again for a game that read its keymap before the change.
    xmodmap -pke | grep -qw KP_Separator || xmodmap -e "keycode 93 = KP_Separator"
    for _ in 1 2 3; do
      xdotool windowfocus --sync "$story" 2>/dev/null
      xdotool key KP_Separator
      console=$(wait_tenths=30 new_window_of_width 797) && break
    done
    [ -n "$console" ] && window_gone "$story" && echo "$console"
    return
  fi
  return 1
}

# Sends the signal and waits up to a second (stop_within_ms, when set) for
# the game to end. Sets exit_status ("still running" when it did not end) and
# gone_ms.
stop_with() {
  exit_status="still running"
  gone_ms=
  local start end
  start=$(date +%s%N)
  kill "-$1" "$game_pid"
  while :; do
    if ! kill -0 "$game_pid" 2>/dev/null || [ "$(ps -o stat= -p "$game_pid" 2>/dev/null)" = Z ]; then
      end=$(date +%s%N)
      wait "$game_pid"
      exit_status=$?
      game_pid=
      gone_ms=$(((end - start) / 1000000))
      return
    fi
    sleep 0.01
    [ $(($(date +%s%N) - start)) -gt $((${stop_within_ms:-1000} * 1000000)) ] && return
  done
}

# As stop_with TERM, but on a busy machine waits up to 4 s more; gone_ms
# then reads ">1000".
stop_patiently() {
  stop_with TERM
  if [ "$exit_status" = "still running" ]; then
    wait_exit 40
    gone_ms=">1000"
  fi
}

# Clicks at (X, Y) of the window through XTest, as a mouse would, after the
# pointer has rested there, and times what the click changes on the screen.
# Needs paint_watch set (tests/lib/paint_watch). Sets watched ("changed" or
# "unchanged"), first_ms and last_ms: from the click to the first and to the
# last frame that changed a pixel of the window, once it has stayed the same
# for QUIET_MS (500 by default). A page turn draws the page, then the rule's
# choices: QUIET_MS must be longer than the longest gap between the two.
click_and_watch() {  # click_and_watch WINDOW X Y [QUIET_MS]
  local line
  line=$("$paint_watch" "$1" "$2" "$3" "${4:-500}" 30000)
  set -- $line
  watched=$1
  first_ms=${2:-}
  last_ms=${3:-}
}

# Deals the trials round-robin over $lanes lanes (the slow ones spread over
# every lane), runs run_lane LANE TRIAL... for each side by side, prints what
# each lane said and the summary line; sets passed and failed. Needs work (a
# private folder) set.
run_trials_in_lanes() {  # run_trials_in_lanes TRIAL...
  local trials=("$@") lane i mine
  for ((lane = 0; lane < lanes; lane++)); do
    mine=()
    for ((i = lane; i < ${#trials[@]}; i += lanes)); do mine+=("${trials[$i]}"); done
    run_lane "$lane" "${mine[@]}" >"$work/lane$lane.out" 2>&1 &
  done
  wait
  cat "$work"/lane*.out
  passed=$(cat "$work"/lane*.out | grep -c '^PASS')
  failed=$(cat "$work"/lane*.out | grep -c '^FAIL')
  echo "${#trials[@]} trials"
  echo "$passed passed, $failed failed"
}
