#!/usr/bin/env bash
# The Debian packages (tessaranium and tessaranium-data) as Debian and a
# player judge them: lintian has nothing to say, two builds are the same
# bytes, the executable is hardened and stripped; installed with apt, the menu
# entry, AppStream data and manual page check out and the game plays from the
# menu (installed_game.sh); removed again, and every package the test
# installed is purged, so the machine is left as it was. Runs as root (or
# through sudo) where apt may install packages.
# Usage: package_test.sh PACKAGE_DIR [EARLIER_BUILD_DIR]   (folders of .deb files)
set -u
deb=$(realpath "$1"/tessaranium_*.deb)
data_deb=$(realpath "$1"/tessaranium-data_*.deb)
earlier=${2:+$(realpath "$2")}
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
package=tessaranium
data_package=tessaranium-data
desktop=/usr/share/applications/tessaranium.desktop
metainfo=/usr/share/metainfo/ru.orbitrum_games.tessaranium.metainfo.xml
launcher=/usr/games/tessaranium
game=/usr/libexec/tessaranium/tessaranium

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive

work=$(mktemp -d)
chmod 755 "$work"
# shellcheck source=../lib/checks.sh
. "$here/../lib/checks.sh"
# shellcheck source=machine_state.sh
. "$here/machine_state.sh"
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
  [ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null
  [ -n "$restored" ] || restore_machine
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
export -f installed

record_machine
if installed "$package" || installed "$data_package"; then
  echo "note: the game was installed before this test; it is replaced and removed"
fi

# --- Tools --------------------------------------------------------------------

tools=(lintian desktop-file-utils appstream man-db binutils xvfb xauth xdotool x11-utils
       pulseaudio pulseaudio-utils)
missing=()
for tool in "${tools[@]}"; do
  installed "$tool" || missing+=("$tool")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing the checking tools: ${missing[*]}"
  install_packages --no-install-recommends "${missing[@]}" \
    || { cat "$work/apt.log"; give_up "cannot install ${missing[*]}"; }
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
check "the package depends on its data package of the same version" \
  bash -c 'grep -qF "tessaranium-data (= $2)" <<<"$1"' _ "$(field Depends)" "$(field Version)"
check "the data package is tessaranium-data, for every architecture, filed under games" \
  test "$(dpkg-deb -f "$data_deb" Package) $(dpkg-deb -f "$data_deb" Architecture) $(dpkg-deb -f "$data_deb" Section)" \
    = "$data_package all games"

if [ -n "$earlier" ]; then
  check "two builds of the same commit give the same bytes, both packages" \
    bash -c 'cmp "$1" "$3/${1##*/}" && cmp "$2" "$3/${2##*/}"' _ "$deb" "$data_deb" "$earlier"
else
  echo "SKIP: no earlier build to compare (make package-test passes one)"
fi

# Lintian as Debian runs it on its own packages, with every tag shown.
lintian_clean() {
  (cd "$work" && lintian -I -E --pedantic --tag-display-limit 0 "$deb" "$data_deb") >"$work/lintian.out" 2>"$work/lintian.err"
  local status=$?
  [ "$status" -eq 0 ] && [ ! -s "$work/lintian.out" ] && return 0
  sed 's/^/    /' "$work/lintian.out" "$work/lintian.err"
  return 1
}
check "lintian -I -E --pedantic reports no tag at all on either package" lintian_clean

contents=$( (dpkg-deb -c "$deb"; dpkg-deb -c "$data_deb") | awk '{print $6}')
export contents
check "the launcher is /usr/games/tessaranium, the game beside its cursor in /usr/libexec/tessaranium" \
  bash -c 'for p; do grep -qxF "./$p" <<<"$contents" || exit 1; done' _ \
  usr/games/tessaranium usr/libexec/tessaranium/tessaranium usr/libexec/tessaranium/cursor/cur.cgf
check "the packages hold the manual page, the Debian changelogs and the copyrights" \
  bash -c 'for p; do grep -qxF "./$p" <<<"$contents" || exit 1; done' _ \
  usr/share/man/man6/tessaranium.6.gz usr/share/doc/tessaranium/changelog.Debian.gz \
  usr/share/doc/tessaranium/copyright usr/share/doc/tessaranium-data/changelog.Debian.gz \
  usr/share/doc/tessaranium-data/copyright
check "the pages, music and flags are in the data package only" \
  bash -c '[ "$(dpkg-deb -c "$1" | grep -c " ./usr/share/tessaranium/.*\.\(tf\|mp3\|gdf\)$")" -eq "$(ls "$3"/text/*.tf "$3"/sound/*.mp3 "$3"/engdat/*.gdf | wc -l)" ] \
    && ! dpkg-deb -c "$2" | grep -q " ./usr/share/tessaranium/"' _ "$data_deb" "$deb" "$source_dir"
check "the Debian changelog's newest entry is the package's version" \
  test "$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/tessaranium/changelog.Debian.gz \
          | gzip -dc | sed -n '1s/^tessaranium (\([^)]*\)).*/\1/p')" = "$(field Version)"

# The executable itself: hardened as Debian's are, stripped of symbols and notes.
mkdir "$work/unpacked"
dpkg-deb -x "$deb" "$work/unpacked"
elf="$work/unpacked$game"
hardened() {
  local problems=()
  readelf -h "$elf" | grep -q 'Type:.*DYN' || problems+=("not position-independent")
  readelf -lW "$elf" | grep -q GNU_RELRO || problems+=("no RELRO")
  readelf -dW "$elf" | grep -Eq 'BIND_NOW|FLAGS.*NOW' || problems+=("no BIND_NOW")
  readelf -sW --dyn-syms "$elf" | grep -q '__[a-z_]*_chk' || problems+=("no fortified functions")
  readelf -SW "$elf" | grep -Eq ' \.symtab | \.comment | \.note ' && problems+=("unneeded sections")
  [ ${#problems[@]} -eq 0 ] && return 0
  echo "    ${problems[*]}"
  return 1
}
check "the executable is PIE, RELRO with BIND_NOW, fortified, and stripped to what it needs" hardened

# --- Installing -----------------------------------------------------------------

# As a player installs it: with the recommended packages.
install_packages "$deb" "$data_deb" || { cat "$work/apt.log"; give_up "apt-get cannot install $deb"; }
check "apt installs both packages" bash -c 'for p; do dpkg-query -W -f="\${Status}" "$p" | grep -q "install ok installed" || exit 1; done' _ "$package" "$data_package"
check "every library the game links is there after installing" \
  bash -c '! ldd "$1" | grep -q "not found"' _ "$game"
check "desktop-file-validate accepts the installed menu entry" desktop-file-validate "$desktop"
check "appstreamcli validate --pedantic accepts the installed AppStream data" \
  appstreamcli validate --pedantic --no-net "$metainfo"
check "the AppStream data shows screenshots, a content rating and the release" \
  bash -c 'grep -q "<screenshot type=\"default\">" "$1" && grep -q "<content_rating type=\"oars-1.1\"" "$1" \
    && grep -q "<release version=\"$2\"" "$1"' _ "$metainfo" "$version"
check "the installed icon is in the hicolor theme from 16 to 256 px" \
  bash -c 'for s in 16 22 24 32 48 64 128 256; do [ -s /usr/share/icons/hicolor/${s}x$s/apps/tessaranium.png ] || exit 1; done'
check "man 6 tessaranium finds the installed manual page" test "$(man -w 6 tessaranium 2>/dev/null)" = /usr/share/man/man6/tessaranium.6.gz
check "the manual page tells where the player's data is and how to start over" \
  bash -c 'MANWIDTH=80 man 6 tessaranium 2>/dev/null | tr -s " \n" " " >"$1" \
    && grep -qF ".local/share/tessaranium" "$1" && grep -qF "engdat/*.gdf" "$1"' _ "$work/man.txt"

# --- Playing: the launcher and the game as the player meets them ---------------

# shellcheck source=installed_game.sh
. "$here/installed_game.sh"

# --- Removing -------------------------------------------------------------------

"${sudo[@]}" apt-get remove "${apt_options[@]}" "$package" "$data_package" >"$work/remove.log" 2>&1
check "apt removes both packages" bash -c '! installed "$1" && ! installed "$2"' _ "$package" "$data_package"
check "removing leaves none of the game's files behind" \
  bash -c 'for p; do [ ! -e "$p" ] || exit 1; done' _ "$launcher" /usr/libexec/tessaranium /usr/share/tessaranium \
  "$desktop" "$metainfo" /usr/share/man/man6/tessaranium.6.gz /usr/share/doc/tessaranium \
  /usr/share/doc/tessaranium-data /usr/share/lintian/overrides/tessaranium
check "removing keeps the player's own folder" flag_is "$player/engdat/b.gdf" 1

lane_cleanup
[ -n "$pulse_pid" ] && kill "$pulse_pid" 2>/dev/null && wait "$pulse_pid" 2>/dev/null
pulse_pid=
restore_machine
check "every package the test installed is gone again: dpkg is as before" machine_as_before

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
