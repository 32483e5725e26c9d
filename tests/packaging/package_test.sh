#!/usr/bin/env bash
# The Debian package as a player gets it: installed with apt, checked by the
# desktop's own validators, started from its menu entry on a virtual X server
# with a fresh home folder and a sound server, started once more to see the
# player's progress kept, and removed again so the machine is left as it was.
# Runs as root (or through sudo) on a machine where apt may install packages;
# the checking tools it lacks are installed first.
# Usage: package_test.sh PACKAGE.deb
set -u
deb=$(realpath "$1")
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
package=tessaranium
desktop=/usr/share/applications/tessaranium.desktop
metainfo=/usr/share/metainfo/ru.orbitrum_games.tessaranium.metainfo.xml

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive

work=$(mktemp -d)
xvfb_pid=
pulse_pid=
game_pid=
cleanup() {
  [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null
  if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    "${sudo[@]}" apt-get remove -y -qq "$package" >/dev/null 2>&1
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# shellcheck source=../lib/checks.sh
. "$(cd "$(dirname "$0")" && pwd)/../lib/checks.sh"
give_up() {
  echo "$*"
  echo "$passed passed, $((failed + 1)) failed"
  exit 1
}

installed() {  # installed PACKAGE
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# --- Tools --------------------------------------------------------------------

tools=(desktop-file-utils appstream xvfb xauth xdotool x11-utils pulseaudio pulseaudio-utils)
missing=()
for tool in "${tools[@]}"; do
  installed "$tool" || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing the checking tools: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >"$work/tools.log" 2>&1 \
    || { cat "$work/tools.log"; give_up "cannot install ${missing[*]}"; }
fi
if installed "$package"; then
  echo "note: $package was installed before this test; it is replaced and removed"
fi

# --- The package file -----------------------------------------------------------

field() { dpkg-deb -f "$deb" "$1"; }
version=$(sed -n 's/^project(Tessaranium VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
check "the package is named tessaranium" test "$(field Package)" = "$package"
check "the package's version is the project's version" bash -c '[[ $1 == "$2"-* || $1 == "$2" ]]' _ "$(field Version)" "$version"
check "the package's maintainer is Orbitrum Games" bash -c '[[ $1 == "Orbitrum Games <"*">" ]]' _ "$(field Maintainer)"
check "the package is filed under games" test "$(field Section)" = games
check "the package describes the game" bash -c '[[ $1 == *"text adventure"* && $(wc -l <<<"$1") -gt 2 ]]' _ "$(field Description)"
depends_on() {  # depends_on PACKAGE...
  local depends name
  depends=$(field Depends)
  for name in "$@"; do
    grep -Eq "(^|, )$name( |,|$)" <<<"$depends" || { echo "Depends lacks $name: $depends"; return 1; }
  done
}
check "the package depends on the Qt 6 libraries the game uses" \
  depends_on libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6
check "the package depends on the GStreamer plugins that play MP3" \
  depends_on gstreamer1.0-plugins-base gstreamer1.0-plugins-good

# --- Installing -----------------------------------------------------------------

# A machine whose package lists are stale gets them fresh once.
if ! "${sudo[@]}" apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1; then
  "${sudo[@]}" apt-get update -qq
  if ! "${sudo[@]}" apt-get install -y -qq "$deb" >"$work/apt.log" 2>&1; then
    cat "$work/apt.log"
    give_up "apt-get cannot install $deb"
  fi
fi
check "apt installs the package" installed "$package"
check "every library the game links is there after installing" \
  bash -c '! ldd /usr/lib/tessaranium/tessaranium | grep -q "not found"'
check "desktop-file-validate accepts the installed menu entry" desktop-file-validate "$desktop"
check "appstreamcli validates the installed AppStream data" appstreamcli validate --no-net "$metainfo"
check "the installed icon is in the hicolor theme from 16 to 256 px" \
  bash -c 'for s in 16 22 24 32 48 64 128 256; do [ -s /usr/share/icons/hicolor/${s}x$s/apps/tessaranium.png ] || exit 1; done'

# --- Starting it from the menu ----------------------------------------------------

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
check "the menu shows the entry: its TryExec is found on the user's PATH" \
  env PATH="$user_path" sh -c 'command -v "$1" >/dev/null' _ "$(entry_key TryExec)"

# A sound server with a silent output, so the mixer's view can be read.
XDG_RUNTIME_DIR="$runtime" pulseaudio --daemonize=no --exit-idle-time=-1 -n \
  --load="module-null-sink sink_name=silent" --load=module-native-protocol-unix \
  >"$work/pulse.log" 2>&1 &
pulse_pid=$!

Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp -noreset 5>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
display=":$(head -n 1 "$work/display")"

start_from_menu() {
  (cd "$home" && exec env -i HOME="$home" PATH="$user_path" DISPLAY="$display" QT_QPA_PLATFORM=xcb \
      XDG_RUNTIME_DIR="$runtime" LANG=C.UTF-8 sh -c "exec $exec_line") >>"$work/game.log" 2>&1 &
}

# Waits for the game's window; prints its id.
game_window() {
  local id
  for _ in $(seq 1 200); do
    id=$(DISPLAY="$display" xdotool search --all --onlyvisible --name --class Tessaranium 2>/dev/null | head -n 1)
    [ -n "$id" ] && { echo "$id"; return 0; }
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
  game_pid=
}

flag_is() {  # flag_is FILE DIGIT
  [ "$(od -An -c "$1" | tr -d ' ')" = "$2\r\n" ]
}

start_from_menu
window=$(game_window)
check "the game's window appears when started from the menu entry" test -n "$window"
[ -n "$window" ] || { cat "$work/game.log"; give_up "no game window"; }
game_pid=$(DISPLAY="$display" xdotool getwindowpid "$window")
check "the window belongs to the installed executable" test "$(readlink "/proc/$game_pid/exe")" = /usr/lib/tessaranium/tessaranium
check "the game runs in the player's folder under ~/.local/share" test "$(readlink "/proc/$game_pid/cwd")" = "$player"
check "the window's WM_CLASS is tessaranium, as the menu entry expects" \
  test "$(DISPLAY="$display" xprop -id "$window" WM_CLASS)" = 'WM_CLASS(STRING) = "tessaranium", "tessaranium"'
check "the window carries the game's icon" bash -c 'DISPLAY=$1 xprop -id "$2" _NET_WM_ICON | grep -q "Icon ("' _ "$display" "$window"
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
printf '1\r\n' >"$player/engdat/b.gdf"
start_from_menu
window=$(game_window)
check "the game starts again from the menu entry" test -n "$window"
[ -n "$window" ] && game_pid=$(DISPLAY="$display" xdotool getwindowpid "$window")
check "a second start keeps the player's changed story flag" flag_is "$player/engdat/b.gdf" 1
stop_game

# --- Removing -------------------------------------------------------------------

"${sudo[@]}" apt-get remove -y -qq "$package" >"$work/remove.log" 2>&1
check "apt removes the package" bash -c '! dpkg-query -W -f="\${Status}" tessaranium 2>/dev/null | grep -q "install ok installed"'
check "removing leaves none of the game's files behind" \
  bash -c '[ ! -e /usr/bin/tessaranium ] && [ ! -e /usr/lib/tessaranium ] && [ ! -e /usr/share/tessaranium ] && [ ! -e "$1" ] && [ ! -e "$2" ]' _ "$desktop" "$metainfo"
check "removing keeps the player's own folder" flag_is "$player/engdat/b.gdf" 1

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
