# The installed launcher and game as the throwaway player meets them, the
# music installed: the game started from its menu entry through GLib with
# systemd's PATH and started again with the player's progress, --help and
# --version in a terminal, a deleted page brought back, a link planted at the
# launcher's old temporary name, two launchers started together on a first
# start, and a launcher error shown on the desktop. Sourced by
# package_test.sh in the player's session (player_session.sh).

# --- The installed files -------------------------------------------------------

check "desktop-file-validate accepts the installed menu entry" desktop-file-validate "$desktop"
check "appstreamcli validate --pedantic accepts the installed AppStream data" \
  appstreamcli validate --pedantic --no-net "$metainfo"
check "the AppStream data shows screenshots, a content rating and the release" \
  bash -c 'grep -q "<screenshot type=\"default\">" "$1" && grep -q "<content_rating type=\"oars-1.1\"" "$1" \
    && grep -q "<release version=\"$2\"" "$1"' _ "$metainfo" "$version"
check "the installed icon is in the hicolor theme from 16 to 256 px" \
  bash -c 'for s in 16 22 24 32 48 64 128 256; do [ -s /usr/share/icons/hicolor/${s}x$s/apps/tessaranium.png ] || exit 1; done'
check "man 6 tessaranium finds the installed manual page" test "$(man -w 6 tessaranium 2>/dev/null)" = /usr/share/man/man6/tessaranium.6.gz
check "the manual page tells where the player's data is, how to start over, and the music's package" \
  bash -c 'MANWIDTH=80 man 6 tessaranium 2>/dev/null | tr -s " \n" " " >"$1" \
    && grep -qF ".local/share/tessaranium" "$1" && grep -qF "engdat/*.gdf" "$1" && grep -qF "tessaranium-music" "$1"' _ "$work/man.txt"

# --- Started from the menu ------------------------------------------------------

check "the menu entry names the launcher by its full path, which systemd's PATH lacks" \
  bash -c '[ "$1" = /usr/games/tessaranium ] && [ "$2" = /usr/games/tessaranium ] \
    && ! PATH=$3 command -v tessaranium >/dev/null' _ "$(entry_key TryExec)" "$(entry_key Exec)" "$systemd_default_path"

# --help and --version in a terminal (Debian's PATH there has /usr/games),
# with a desktop there: an answer, no game, no dialog.
terminal_path=/usr/local/bin:/usr/bin:/bin:/usr/games
answers_alone() {  # answers_alone OPTION PATTERN: prints, exits 0, starts nothing
  local fresh="$work/asking home$1" out status
  player_folders "$fresh"
  out=$(cd "$fresh" && timeout 10 "${become_player[@]}" \
        env -i HOME="$fresh" PATH="$terminal_path" DISPLAY="$DISPLAY" tessaranium "$1" </dev/null)
  status=$?
  [ "$status" -eq 0 ] && grep -Eq "$2" <<<"$out" && [ ! -e "$fresh/.local" ] && return 0
  echo "    status $status, output: $out"
  return 1
}
check "tessaranium --version prints its version and starts nothing" \
  answers_alone --version "^tessaranium $version\$"
check "tessaranium --help says where the player's data is and starts nothing" \
  answers_alone --help '~/\.local/share/tessaranium'

# The first start of a new player, from the menu as a desktop starts it.
as_user rm -rf "$home/.local"
: >"$work/game.log"
start_through_glib
window=$(game_window)
check "GLib starts the menu entry with systemd's PATH: the game's window appears" test -n "$window"
[ -n "$window" ] || { cat "$work/game.log"; give_up "no game window"; }
game_pid=$(xdotool getwindowpid "$window")
check "the window belongs to the installed executable, run by the player" \
  test "$(readlink "/proc/$game_pid/exe")" = "$game" -a "$(stat -c %U "/proc/$game_pid")" = "$player_name"
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
    streams=$(player_streams)
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

check "with the music nothing says the game plays without sound" \
  bash -c '! grep -q "without sound" "$1"' _ "$work/game.log"

# The player's progress stays; a deleted page and track come back.
as_user sh -c 'printf "1\r\n" >"$1/engdat/b.gdf" && rm "$1/text/gt5.tf" "$1/sound/menu.mp3"' _ "$player"
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
as_user rm "$player/engdat/c.gdf"
player_folders "$work/victims"
as_user sh -c 'printf "not yours\n" >"$1/victim" && cp "$1/victim" "$1/victim.before"' _ "$work/victims"
as_player "$home" sh -c 'kill -STOP $$; exec "$@"' sh "$launcher"
held=$launched_pid
wait_stopped "$held"
as_user ln -s "$work/victims/planted" "$player/engdat/c.gdf"
for name in "c.gdf.new.$held" ".c.gdf.new.$held" "c.gdf.$held" "c.gdf.tmp"; do
  as_user ln -s "$work/victims/victim" "$player/engdat/$name"
done
kill -CONT "$held"
game_pid=$held
launcher_done "$held"
check "links planted at the launcher's temporary names leave their targets untouched" \
  bash -c 'cmp -s "$1/victim" "$1/victim.before" && [ ! -e "$1/planted" ]' _ "$work/victims"
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
  player_folders "$racer"
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
player_folders "$blocked"
as_user sh -c 'mkdir -p "$1/.local/share" && printf "in the way\n" >"$1/.local/share/tessaranium"' _ "$blocked"
as_player "$blocked" sh -c "exec $(entry_key Exec) 2>\"\$HOME/launcher.err\""
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
