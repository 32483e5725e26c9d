#!/usr/bin/env bash
# The Debian packages as Debian and a player judge them. The source package
# and the binary packages (tessaranium, tessaranium-music, tessaranium-data
# and their debugging symbols) from `make package`: the same bytes as a build
# elsewhere, lintian silent, one version everywhere, hardened and stripped.
# Then, as a throwaway ordinary user on a virtual X server: the game alone
# installed plays in silence, and with tessaranium-music it plays its music;
# the menu entry starts through GLib with systemd's PATH (installed_game.sh);
# the committed screenshots are what the game shows. Finally the packages,
# every package the test installed and the user go again, and dpkg and the
# account files are as they were. Runs as root (or through sudo).
# Usage: package_test.sh PACKAGE_DIR [OTHER_BUILD_DIR]
set -u
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
package_dir=$(realpath "$1")
elsewhere=${2:+$(realpath "$2")}
version=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)
release_date=$(date -u -d "@$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Timestamp)" +%F)
changes=$package_dir/tessaranium_${version}_$(dpkg --print-architecture).changes
deb=$package_dir/tessaranium_${version}_$(dpkg --print-architecture).deb
music_deb=$package_dir/tessaranium-music_${version}_$(dpkg --print-architecture).deb
data_deb=$package_dir/tessaranium-data_${version}_all.deb
desktop=/usr/share/applications/tessaranium.desktop
metainfo=/usr/share/metainfo/ru.orbitrum_games.tessaranium.metainfo.xml
launcher=/usr/games/tessaranium
game=/usr/libexec/tessaranium/tessaranium
music_module=/usr/libexec/tessaranium/tessaranium-music.so

# apt, a user of its own and that user's processes: root's work.
if [ "$(id -u)" -ne 0 ]; then
  exec sudo "$0" "$@"
fi
sudo=()
export DEBIAN_FRONTEND=noninteractive

work=$(mktemp -d)
chmod 755 "$work"
# shellcheck source=../lib/checks.sh
. "$here/../lib/checks.sh"
# shellcheck source=machine_state.sh
. "$here/machine_state.sh"
# shellcheck source=player_user.sh
. "$here/player_user.sh"
# shellcheck source=launcher_checks.sh
. "$here/launcher_checks.sh"
# shellcheck source=../lib/real_game.sh
lane_dir=$work
game_binary=$game
. "$here/../lib/real_game.sh"
pulse_pid=
restored=
cleanup() {
  lane_cleanup
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null && wait "$pulse_pid" 2>/dev/null
  [ -n "$restored" ] || restore_machine
  remove_player
  rm -rf "$work"
}
trap cleanup EXIT

give_up() {
  echo "$*"
  echo "$passed passed, $((failed + 1)) failed"
  exit 1
}

installed() {  # installed PACKAGE
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

record_machine
record_accounts
for name in tessaranium tessaranium-music tessaranium-data; do
  installed "$name" && echo "note: $name was installed before this test; it is replaced and removed"
done

# --- Tools --------------------------------------------------------------------

tools=(lintian desktop-file-utils appstream man-db binutils xvfb xauth xdotool x11-utils
       x11-xserver-utils imagemagick libglib2.0-bin pulseaudio pulseaudio-utils)
missing=()
for tool in "${tools[@]}"; do
  installed "$tool" || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing the checking tools: ${missing[*]}"
  install_packages --no-install-recommends "${missing[@]}" \
    || { cat "$work/apt.log"; give_up "cannot install ${missing[*]}"; }
fi

home="$work/player home"
create_player "$home" || give_up "cannot create a throwaway user"
echo "Playing as the throwaway user $player_name"

# --- The packages as files ------------------------------------------------------

# The player reads them (lintian, apt's sandbox too): a copy in a folder of
# the test's, every file the .changes lists.
packages=$work/packages
mkdir -p "$packages"
[ -f "$changes" ] || give_up "no $changes: run make package first"
cp "$changes" "$packages/"
while read -r _ _ _ _ name; do
  cp "$package_dir/$name" "$packages/"
done < <(sed -n '/^Files:/,/^[^ ]/s/^ //p' "$changes")
chmod -R a+rX "$packages"

# shellcheck source=package_files.sh
. "$here/package_files.sh"

# --- Installed and played ---------------------------------------------------------

# shellcheck source=player_session.sh
. "$here/player_session.sh"
# shellcheck source=music_optional.sh
. "$here/music_optional.sh"
# shellcheck source=installed_game.sh
. "$here/installed_game.sh"

# The screenshots in the AppStream data, made again from the installed game
# by the one script that makes them: anything but a blinking text caret
# (a line at most 2 pixels wide) differing means they are out of date.
screenshot_current() {  # screenshot_current NAME
  local committed=$source_dir/packaging/screenshots/$1 fresh=$work/screenshots/$1 box
  [ "$(identify -format '%wx%h' "$fresh" 2>/dev/null)" = 800x600 ] || return 1
  [ "$(compare -metric AE "$committed" "$fresh" null: 2>&1)" = 0 ] && return 0
  box=$(compare "$committed" "$fresh" -compose src -highlight-color white -lowlight-color black png:- 2>/dev/null \
        | convert - -trim -format '%w %h' info:)
  read -r width height <<<"$box"
  [ "${width:-999}" -le 2 ] && [ "${height:-999}" -le 24 ] && return 0
  echo "    $1 differs in a ${width}x$height area: tools/generators/make_screenshots.sh makes it anew"
  return 1
}
lane_cleanup
if "$source_dir/tools/generators/make_screenshots.sh" "$game" "$work/screenshots" >"$work/screenshots.log" 2>&1; then
  for name in menu.png story.png console.png; do
    check "the committed screenshot $name is what the installed game shows" screenshot_current "$name"
  done
else
  check "tools/generators/make_screenshots.sh captures the installed game" false
  sed 's/^/    /' "$work/screenshots.log"
fi

# --- Removing -------------------------------------------------------------------

"${sudo[@]}" apt-get remove "${apt_options[@]}" tessaranium tessaranium-music tessaranium-data >"$work/remove.log" 2>&1
check "apt removes the three packages" \
  bash -c '! dpkg-query -W -f="\${Status}\n" "$@" 2>/dev/null | grep -q "install ok installed"' _ \
  tessaranium tessaranium-music tessaranium-data
check "removing leaves none of the game's files behind" \
  bash -c 'for p; do [ ! -e "$p" ] || exit 1; done' _ "$launcher" /usr/libexec/tessaranium /usr/share/tessaranium \
  "$desktop" "$metainfo" /usr/share/man/man6/tessaranium.6.gz /usr/share/doc/tessaranium \
  /usr/share/doc/tessaranium-music /usr/share/doc/tessaranium-data
check "removing keeps the player's own folder" flag_is "$player/engdat/b.gdf" 1

lane_cleanup
stop_sound_server
restore_machine
check "every package the test installed is gone again: dpkg is as before" machine_as_before
remove_player
check "the throwaway user is gone: the account files are as before" accounts_as_before

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
