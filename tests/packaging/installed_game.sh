# The installed launcher and game as a player meets them, on a virtual X
# server with a silent sound server: --help and --version, the game started
# from its menu entry and started again with the player's progress, a deleted
# page brought back, a link planted at the launcher's old temporary name, two
# launchers started together on a first start, and a launcher error shown on
# the desktop. Sourced by package_test.sh once the package is installed.

home="$work/player home"
player="$home/.local/share/tessaranium"
runtime="$work/runtime"
mkdir -p "$home" "$runtime"
chmod 700 "$runtime"
user_path=/usr/local/bin:/usr/bin:/bin:/usr/games

entry_key() {  # entry_key NAME: a key of the installed menu entry's [Desktop Entry]
  sed -n '/^\[Desktop Entry\]/,/^\[/p' "$desktop" | sed -n "s/^$1=//p"
}
# The Exec line without its field codes, as a desktop would run it.
exec_line=$(entry_key Exec | sed -e 's/%[fFuUdDnNickvm]//g' -e 's/%%/%/g')

flag_is() {  # flag_is FILE DIGIT
  [ "$(od -An -c "$1" | tr -d ' ')" = "$2\r\n" ]
}

# Runs COMMAND... in the background as a desktop session would, in HOME;
# sets launched_pid. The launcher execs the game, so the pid stays the game's.
as_player() {  # as_player HOME COMMAND...
  local player_home=$1
  shift
  (cd "$player_home" && exec env -i HOME="$player_home" PATH="$user_path" DISPLAY="$DISPLAY" \
      QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime" LANG=C.UTF-8 "$@") >>"$work/game.log" 2>&1 &
  launched_pid=$!
}
start_from_menu() {  # start_from_menu [HOME]
  as_player "${1:-$home}" sh -c "exec $exec_line"
  game_pid=$launched_pid
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

# --- Started from the menu ------------------------------------------------------

check "the menu shows the entry: its TryExec is found on the user's PATH" \
  env PATH="$user_path" sh -c 'command -v "$1" >/dev/null' _ "$(entry_key TryExec)"

# A sound server with a silent output, so the mixer's view can be read.
XDG_RUNTIME_DIR="$runtime" pulseaudio --daemonize=no --exit-idle-time=-1 -n \
  --load="module-null-sink sink_name=silent" --load=module-native-protocol-unix \
  >"$work/pulse.log" 2>&1 &
pulse_pid=$!
start_xvfb

# --help and --version, with a desktop there: an answer, no game, no dialog.

answers_alone() {  # answers_alone OPTION PATTERN: prints, exits 0, starts nothing
  local fresh="$work/asking home$1" out status
  mkdir -p "$fresh"
  out=$(cd "$fresh" && timeout 10 env -i HOME="$fresh" PATH="$user_path" DISPLAY="$DISPLAY" tessaranium "$1" </dev/null)
  status=$?
  [ "$status" -eq 0 ] && grep -Eq "$2" <<<"$out" && [ ! -e "$fresh/.local" ] && return 0
  echo "    status $status, output: $out"
  return 1
}
check "tessaranium --version prints its version and starts nothing" \
  answers_alone --version "^tessaranium $version\$"
check "tessaranium --help says where the player's data is and starts nothing" \
  answers_alone --help '~/\.local/share/tessaranium'

start_from_menu
window=$(game_window)
check "the game's window appears when started from the menu entry" test -n "$window"
[ -n "$window" ] || { cat "$work/game.log"; give_up "no game window"; }
check "the window belongs to the installed executable, started by the launcher" \
  test "$(readlink "/proc/$game_pid/exe")" = "$game" -a "$(xdotool getwindowpid "$window")" = "$game_pid"
check "the game runs in the player's folder under ~/.local/share" test "$(readlink "/proc/$game_pid/cwd")" = "$player"
check "the window's WM_CLASS is tessaranium, as the menu entry expects" \
  test "$(xprop -id "$window" WM_CLASS)" = 'WM_CLASS(STRING) = "tessaranium", "tessaranium"'
# The icon is set once the first frame is up, so that start-up shows the
# window sooner: give it a few seconds.
check "the window carries the game's icon" bash -c \
  'for _ in $(seq 1 50); do xprop -id "$1" _NET_WM_ICON | grep -q "Icon (" && exit 0; sleep 0.1; done; exit 1' _ "$window"
check "the first start fills the player's folder with the installed pages and music" \
  bash -c 'diff -r /usr/share/tessaranium/text "$1/text" && diff -r /usr/share/tessaranium/sound "$1/sound"' _ "$player"
check "the first start gives the player the shipped story flags" \
  bash -c 'cd /usr/share/tessaranium/engdat && for f in *.gdf; do cmp -s "$f" "$1/engdat/$f" || exit 1; done' _ "$player"

mixer_names_the_game() {
  local streams
  for _ in $(seq 1 100); do
    streams=$(XDG_RUNTIME_DIR="$runtime" pactl list sink-inputs 2>/dev/null)
    if grep -qF 'application.name = "Миры \"Tessaranium\""' <<<"$streams" \
       && grep -qF 'application.icon_name = "tessaranium"' <<<"$streams"; then
      return 0
    fi
    sleep 0.1
  done
  echo "$streams"
  return 1
}
check "the sound mixer shows the game's music under «Миры \"Tessaranium\"» with its icon" mixer_names_the_game
stop_game

# The player's progress stays; a deleted page and track come back.
printf '1\r\n' >"$player/engdat/b.gdf"
rm "$player/text/gt5.tf" "$player/sound/menu.mp3"
start_from_menu
window=$(game_window)
check "the game starts again from the menu entry" test -n "$window"
check "a second start keeps the player's changed story flag" flag_is "$player/engdat/b.gdf" 1
check "a page and a track deleted from the player's folder are back as installed" \
  bash -c 'cmp -s /usr/share/tessaranium/text/gt5.tf "$1/text/gt5.tf" && cmp -s /usr/share/tessaranium/sound/menu.mp3 "$1/sound/menu.mp3"' _ "$player"
stop_game

# --- A link planted where the launcher writes -------------------------------------

# The launcher is held just before it starts, its pid known, and links are
# planted at the temporary names a launcher could guess from it: a link in
# place of the missing flag, and one at "<flag>.new.<pid>".
rm "$player/engdat/c.gdf"
printf 'not yours\n' >"$work/victim"
cp "$work/victim" "$work/victim.before"
as_player "$home" sh -c 'kill -STOP $$; exec "$@"' sh tessaranium
held=$launched_pid
wait_stopped "$held"
ln -s "$work/planted" "$player/engdat/c.gdf"
for name in "c.gdf.new.$held" ".c.gdf.new.$held" "c.gdf.$held" "c.gdf.tmp"; do
  ln -s "$work/victim" "$player/engdat/$name"
done
kill -CONT "$held"
game_pid=$held
launcher_done "$held"
check "links planted at the launcher's temporary names leave their targets untouched" \
  bash -c 'cmp -s "$1/victim" "$1/victim.before" && [ ! -e "$1/planted" ]' _ "$work"
check "the missing flag is a file of its own again, as shipped" shipped_flag "$player/engdat/c.gdf"
check "the launcher leaves one whole copy and no temporary file behind" \
  whole_copy "$player" /usr/share/tessaranium
stop_game
find "$player/engdat" -type l -delete

# --- Two launchers on a first start ---------------------------------------------

# Each round a fresh player starts the game twice at once from the menu.
racing_rounds=6
nested=0
for round in $(seq 1 "$racing_rounds"); do
  racer="$work/racer $round"
  mkdir -p "$racer"
  start_from_menu "$racer"; first=$game_pid
  start_from_menu "$racer"; second=$game_pid
  launcher_done "$first"; launcher_done "$second"
  folder="$racer/.local/share/tessaranium"
  if ! whole_copy "$folder" /usr/share/tessaranium; then
    nested=$((nested + 1))
    find "$folder" -maxdepth 2 | sed 's/^/    /' | head -20
  fi
  game_pid=$first; stop_game
  game_pid=$second; stop_game
done
check "two launchers started together on a first start leave one clean copy ($racing_rounds rounds, $nested bad)" \
  test "$nested" -eq 0

# --- An error on the desktop ------------------------------------------------------

# A file where the game folder should be: the launcher cannot go on, and a
# player who started it from the menu must see why.
blocked="$work/blocked home"
mkdir -p "$blocked/.local/share"
printf 'in the way\n' >"$blocked/.local/share/tessaranium"
as_player "$blocked" sh -c "exec $exec_line 2>\"\$HOME/launcher.err\""
message_pid=$launched_pid
message=
for _ in $(seq 1 100); do
  message=$(xdotool search --onlyvisible --name '^Tessaranium$' 2>/dev/null | head -n 1)
  [ -n "$message" ] && break
  sleep 0.1
done
check "a launcher error is shown in a window on the desktop while the launcher waits" \
  bash -c '[ -n "$1" ] && kill -0 "$2" 2>/dev/null' _ "$message" "$message_pid"
if [ -n "$message" ]; then
  xdotool windowfocus --sync "$message" key Return 2>/dev/null
fi
for _ in $(seq 1 50); do
  kill -0 "$message_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$message_pid" 2>/dev/null; then
  echo "    the message did not close on Return; its process is ended"
  for child in $(ps -o pid= --ppid "$message_pid"); do kill "$child"; done
fi
wait "$message_pid"
message_status=$?
check "the launcher stops with status 1 and names the folder on stderr too" \
  bash -c '[ "$1" -eq 1 ] && grep -qF "не удаётся создать папку игры или писать в неё: $2" "$3"' _ \
  "$message_status" "$blocked/.local/share/tessaranium" "$blocked/launcher.err"
