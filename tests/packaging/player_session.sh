# The throwaway player's desktop session: a virtual X server, a sound server
# of the player's own with a silent output, and the ways a player starts the
# game: from the menu entry through GLib (gio launch) with systemd's PATH, or
# by the entry's Exec line. Sourced by package_test.sh once the player exists.

player="$home/.local/share/tessaranium"
runtime="$work/runtime"
player_folders "$runtime"
chmod 700 "$runtime"

entry_key() {  # entry_key NAME: a key of the installed menu entry's [Desktop Entry]
  sed -n '/^\[Desktop Entry\]/,/^\[/p' "$desktop" | sed -n "s/^$1=//p"
}

flag_is() {  # flag_is FILE DIGIT
  [ "$(od -An -c "$1" | tr -d ' ')" = "$2\r\n" ]
}

# Runs COMMAND... in the background as the player, as a desktop session runs
# it (with systemd's PATH unless session_path says otherwise), in HOME; sets
# launched_pid. setpriv and env exec, so the pid is the
# command's, and the launcher execs the game: it becomes the game's.
as_player() {  # as_player HOME COMMAND...
  local player_home=$1
  shift
  (cd "$player_home" && exec "${become_player[@]}" \
      env -i HOME="$player_home" PATH="${session_path:-$systemd_default_path}" DISPLAY="$DISPLAY" \
      XDG_RUNTIME_DIR="$runtime" LANG=C.UTF-8 "$@") >>"$work/game.log" 2>&1 &
  launched_pid=$!
}

# Runs the entry's Exec line the way a desktop does, field codes dropped.
start_from_menu() {  # start_from_menu [HOME]
  as_player "${1:-$home}" sh -c "exec $(entry_key Exec | sed -e 's/%[fFuUdDnNickvm]//g' -e 's/%%/%/g')"
  game_pid=$launched_pid
}

# Starts the menu entry through GLib, which first looks for its TryExec;
# the game's pid is then read from its window (game_window_of_glib).
start_through_glib() {  # start_through_glib [HOME]
  as_player "${1:-$home}" gio launch "$desktop"
  wait "$launched_pid"
}

# Waits for a game window not among the ids given; prints its id.
game_window() {
  local id
  for _ in $(seq 1 200); do
    for id in $(xdotool search --all --onlyvisible --name --class Tessaranium 2>/dev/null); do
      case " $* " in *" $id "*) ;; *) echo "$id"; return 0 ;; esac
    done
    sleep 0.1
  done
  return 1
}

stop_game() {
  [ -n "$game_pid" ] || return 0
  kill -TERM "$game_pid" 2>/dev/null
  for _ in $(seq 1 50); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$game_pid" 2>/dev/null
  wait "$game_pid" 2>/dev/null
  game_pid=
}

# Waits until the process runs the installed game or has ended: the launcher's
# work is then done.
launcher_done() {  # launcher_done PID
  for _ in $(seq 1 300); do
    [ "$(readlink "/proc/$1/exe" 2>/dev/null)" = "$game" ] && return 0
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.05
  done
  return 1
}

# What the player's sound server plays: its streams, as pactl lists them.
player_streams() {
  "${become_player[@]}" \
    env -i HOME="$home" XDG_RUNTIME_DIR="$runtime" pactl list sink-inputs 2>/dev/null
}

stop_sound_server() {
  [ -n "$pulse_pid" ] || return 0
  kill "$pulse_pid" 2>/dev/null
  wait "$pulse_pid" 2>/dev/null
  pulse_pid=
}

# A sound server with a silent output, so the mixer's view can be read.
(cd "$home" && exec "${become_player[@]}" \
  env -i HOME="$home" XDG_RUNTIME_DIR="$runtime" pulseaudio --daemonize=no --exit-idle-time=-1 -n \
  --load="module-null-sink sink_name=silent" --load=module-native-protocol-unix) >"$work/pulse.log" 2>&1 &
pulse_pid=$!
start_xvfb
