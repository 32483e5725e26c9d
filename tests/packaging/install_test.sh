#!/usr/bin/env bash
# The game installed into a prefix whose path has spaces: where every file
# lands, the menu entry and AppStream data, the icons, the manual page, and the
# launcher that runs the game in the player's own folder. The installed
# executable is swapped for a stand-in that reports its working folder and
# arguments, so the launcher is tested without a display; package_test.sh
# repeats the launcher's cases on the installed package with the real game.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -u
build_dir=$1
source_dir=$2

work=$(mktemp -d)
# No desktop: a launcher error would wait in a window for a click. The
# launcher still wants a display for the game: the stand-in needs none.
unset DISPLAY WAYLAND_DISPLAY
export QT_QPA_PLATFORM=offscreen
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT

# shellcheck source=../lib/checks.sh
. "$(cd "$(dirname "$0")" && pwd)/../lib/checks.sh"
# shellcheck source=launcher_checks.sh
. "$(cd "$(dirname "$0")" && pwd)/launcher_checks.sh"

# The release as debian/changelog's newest entry gives it.
changelog=$source_dir/debian/changelog
version=$(sed -n '1s/^tessaranium (\([^)]*\)).*/\1/p' "$changelog")
release_date=$(date -u -d "$(sed -n '0,/^ -- .*>  /s/^ -- .*>  //p' "$changelog")" +%F)

prefix="$work/game prefix"
if ! cmake --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "0 passed, 1 failed"
  exit 1
fi
exec_dir="$prefix/libexec/tessaranium"
data_dir="$prefix/share/tessaranium"
desktop="$prefix/share/applications/tessaranium.desktop"
metainfo="$prefix/share/metainfo/ru.orbitrum_games.tessaranium.metainfo.xml"

# --- Layout -------------------------------------------------------------------

check "the executable is installed in libexec/tessaranium with its cursor beside it" \
  test -x "$exec_dir/tessaranium" -a -f "$exec_dir/cursor/cur.cgf"
launcher="$prefix/games/tessaranium"
check "the launcher is installed in games and is a POSIX shell script" \
  bash -c '[ -x "$1" ] && head -n 1 "$1" | grep -qx "#!/bin/sh" && sh -n "$1"' _ "$launcher"
man_page="$prefix/share/man/man6/tessaranium.6"
check "the manual page is installed in section 6, with the release's version and date" \
  grep -qxF ".TH TESSARANIUM 6 $release_date \"tessaranium $version\" \"Games\"" "$man_page"
if command -v man >/dev/null; then
  check "the manual page renders without a warning" \
    bash -c '[ -z "$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$1" 2>&1 >/dev/null)" ]' \
    _ "$man_page"
  # Paths and the game's name are never split at the end of a line.
  whole_at_every_width() {
    local width text word
    for width in 60 72 80 100; do
      text=$(LC_ALL=C.UTF-8 MANWIDTH=$width man -E UTF-8 -l "$man_page" 2>/dev/null | tr -s ' \n' ' ')
      for word in «Tessaranium» "$@"; do
        grep -qF -- "$word" <<<"$text" || { echo "    split at $width columns: $word"; return 1; }
      done
    done
  }
  check "the manual page splits neither «Tessaranium» nor a path, at any width" whole_at_every_width \
    '$XDG_DATA_HOME/tessaranium/' '~/.local/share/tessaranium/' /usr/share/tessaranium/ \
    /usr/libexec/tessaranium/tessaranium-music.so /usr/share/doc/tessaranium/copyright
fi
check "the fonts' licence is installed with the documents" \
  cmp -s "$source_dir/shell/fonts/LICENSE-ParaType.txt" "$prefix/share/doc/tessaranium/LICENSE-ParaType.txt"

same_files() {  # same_files FOLDER PATTERN: the source's files, byte for byte, and no others
  local folder=$1 pattern=$2 file count=0
  for file in "$source_dir/$folder"/$pattern; do
    cmp -s "$file" "$data_dir/$folder/${file##*/}" || return 1
    count=$((count + 1))
  done
  [ "$count" -gt 0 ] && [ "$(find "$data_dir/$folder" -type f | wc -l)" -eq "$count" ]
}
check "every page is installed unchanged under share/tessaranium/text" same_files text '*.tf'
check "every music track is installed unchanged under share/tessaranium/sound" same_files sound '*.mp3'
check "the story flags are installed as shipped under share/tessaranium/engdat" same_files engdat '*.gdf'
check "the data list names every installed data file with its checksum" \
  bash -c 'cd "$1" && sha256sum --quiet -c data.sha256 \
    && [ "$(wc -l <data.sha256)" -eq "$(find text sound engdat -type f | wc -l)" ]' _ "$data_dir"

png_size() {  # prints WIDTHxHEIGHT of a PNG from its header
  local bytes
  bytes=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' ' | sed 's/^ //')
  set -- $bytes
  echo "$(($1 << 24 | $2 << 16 | $3 << 8 | $4))x$(($5 << 24 | $6 << 16 | $7 << 8 | $8))"
}
icons_have_their_sizes() {
  local size icon
  for size in 16 22 24 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/tessaranium.png"
    [ "$(head -c 8 "$icon" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || return 1
    [ "$(png_size "$icon")" = "${size}x${size}" ] || return 1
  done
}
check "the hicolor icons from 16 to 256 px are PNGs of their own size" icons_have_their_sizes

# --- Menu entry and AppStream data --------------------------------------------

key() {  # key NAME: the value of a key in the [Desktop Entry] group
  sed -n '/^\[Desktop Entry\]/,/^\[/p' "$desktop" | sed -n "s/^$1=//p"
}
check "the menu entry is named «Миры \"Tessaranium\"», also in Russian" \
  test "$(key Name)" = 'Миры "Tessaranium"' -a "$(key 'Name\[ru\]')" = 'Миры "Tessaranium"'
check "the menu entry files the game under Game and AdventureGame" test "$(key Categories)" = "Game;AdventureGame;"
check "the menu entry's icon is the installed tessaranium icon" test "$(key Icon)" = tessaranium
check "the menu entry names the installed launcher by its full path, quoted for the spaces" \
  test "$(key TryExec)" = "$prefix/games/tessaranium" -a "$(key Exec)" = "\"$prefix/games/tessaranium\""
check "the menu entry's window class is the game's WM_CLASS" test "$(key StartupWMClass)" = tessaranium
if command -v desktop-file-validate >/dev/null; then
  check "desktop-file-validate accepts the menu entry" desktop-file-validate "$desktop"
else
  echo "SKIP: desktop-file-validate is not installed (package desktop-file-utils)"
fi
check "the AppStream data launches the installed menu entry" \
  grep -q '<launchable type="desktop-id">tessaranium.desktop</launchable>' "$metainfo"
check "the AppStream data's newest release is the changelog's, version and date" \
  test "$(grep -m1 -o '<release [^>]*>' "$metainfo")" = "<release version=\"$version\" date=\"$release_date\" type=\"stable\">"
check "the AppStream data lists a release for every changelog entry" \
  test "$(grep -c '<release ' "$metainfo")" -eq "$(grep -c '^tessaranium (' "$changelog")"
screenshots_match() {  # every screenshot named is committed, with the size given
  local name width height count=0
  while read -r width height name; do
    [ "$(png_size "$source_dir/packaging/screenshots/$name")" = "${width}x$height" ] || return 1
    count=$((count + 1))
  done < <(sed -n 's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">.*/\([a-z]*\.png\)</image>.*|\1 \2 \3|p' "$metainfo")
  [ "$count" -eq "$(ls "$source_dir"/packaging/screenshots/*.png | wc -l)" ]
}
check "the AppStream screenshots are the committed images, with their sizes" screenshots_match
if command -v appstreamcli >/dev/null; then
  check "appstreamcli validate --pedantic accepts the AppStream data" appstreamcli validate --pedantic --no-net "$metainfo"
else
  echo "SKIP: appstreamcli is not installed (package appstream)"
fi

# --- The launcher ---------------------------------------------------------------

# The stand-in game: reports where it runs, its arguments and its flags.
cat >"$exec_dir/tessaranium" <<'STANDIN'
#!/bin/sh
{
  printf 'cwd=%s\n' "$(pwd -P)"
  for arg in "$@"; do printf 'arg=%s\n' "$arg"; done
} >"$STANDIN_LOG"
STANDIN
chmod +x "$exec_dir/tessaranium"
export STANDIN_LOG="$work/standin.log"

home="$work/player home"
mkdir -p "$home"
player="$home/.local/share/tessaranium"
launch() {  # runs the launcher as a player would, from another folder
  rm -f "$STANDIN_LOG"
  (cd / && env -u XDG_DATA_HOME HOME="$home" "$launcher" "$@")
}
flag_is() {  # flag_is FILE DIGIT
  [ "$(od -An -c "$1" | tr -d ' ')" = "$2\r\n" ]
}
same_tree() {  # same_tree A B: the same files with the same bytes
  diff -r "$1" "$2" >/dev/null
}

launch "two words" second
check "the first start fills the player's folder with the installed pages" same_tree "$data_dir/text" "$player/text"
check "the first start fills the player's folder with the installed music" same_tree "$data_dir/sound" "$player/sound"
check "the first start gives the player the shipped story flags" \
  bash -c 'for f in b c bc; do [ "$(od -An -c "$1/engdat/$f.gdf" | tr -d " ")" = "0\r\n" ] || exit 1; done' _ "$player"
check "the game runs in the player's folder under ~/.local/share" grep -qxF "cwd=$player" "$STANDIN_LOG"
check "the launcher passes its arguments on unchanged" \
  test "$(grep '^arg=' "$STANDIN_LOG")" = "$(printf 'arg=two words\narg=second')"

# The menu entry as a desktop starts it: GLib reads it, checks its TryExec
# and runs its Exec line, with systemd's PATH, which lacks the launcher's folder,
# in a session with a display (the launcher starts nothing without one).
rm -rf "$player" "$STANDIN_LOG"
(cd / && env -i HOME="$home" DISPLAY=:99 PATH="$systemd_default_path" STANDIN_LOG="$STANDIN_LOG" gio launch "$desktop" >/dev/null 2>&1)
check "GLib starts the menu entry with systemd's default PATH (gio launch)" \
  eventually grep -qsxF "cwd=$player" "$STANDIN_LOG"

printf '1\r\n' >"$player/engdat/b.gdf"
touch "$player/text/player-note"
launch
check "a second start keeps a changed story flag" flag_is "$player/engdat/b.gdf" 1
check "a second start of the same installation leaves the player's pages alone" test -e "$player/text/player-note"

rm "$player/engdat/c.gdf"
launch
check "a missing story flag is restored as shipped" flag_is "$player/engdat/c.gdf" 0
check "restoring a flag leaves the other flags as the player had them" flag_is "$player/engdat/b.gdf" 1

# An update of the installed game: one page changed, one gone, one flag file
# changed as shipped, and the data list written anew.
printf 'changed page\r\n' >"$data_dir/text/read.tf"
rm "$data_dir/text/gt2.tf"
printf '1\r\n' >"$data_dir/engdat/b.gdf"
printf '0\r\n' >"$player/engdat/b.gdf"
(cd "$data_dir" && find text sound engdat -type f | sort | xargs sha256sum >data.sha256)
launch
check "an updated installation replaces the player's copy of a changed page" cmp -s "$data_dir/text/read.tf" "$player/text/read.tf"
check "pages dropped by an update disappear from the player's folder" test ! -e "$player/text/gt2.tf" -a ! -e "$player/text/player-note"
check "an update never overwrites the player's story flags" flag_is "$player/engdat/b.gdf" 0
check "an update leaves no temporary files in the player's folder" \
  test -z "$(find "$player" -name '.update.*' -o -name '*.new.*' -o -name '.seed.*')"

data_home="$work/data home"
rm -f "$STANDIN_LOG"
(cd / && HOME="$home" XDG_DATA_HOME="$data_home" "$launcher")
check "XDG_DATA_HOME chooses where the player's folder is" grep -qxF "cwd=$data_home/tessaranium" "$STANDIN_LOG"
rm -f "$STANDIN_LOG"
(cd / && HOME="$home" XDG_DATA_HOME="relative/path" "$launcher")
check "a relative XDG_DATA_HOME is ignored for ~/.local/share" grep -qxF "cwd=$player" "$STANDIN_LOG"

mkdir -p "$work/other bin"
ln -s "$launcher" "$work/other bin/tessaranium"
rm -f "$STANDIN_LOG"
(cd / && env -u XDG_DATA_HOME HOME="$home" PATH="$work/other bin:$PATH" tessaranium)
check "the launcher finds the game when started through a symlink on PATH" grep -qxF "cwd=$player" "$STANDIN_LOG"

# --help and --version are the launcher's own: they start nothing.
rm -f "$STANDIN_LOG"
check "--version prints the version and starts nothing" \
  test "$(launch --version)" = "tessaranium $version" -a ! -e "$STANDIN_LOG"
help=$(launch --help)
check "--help tells the player's folder and the manual page and starts nothing" \
  bash -c 'grep -q "^Использование: tessaranium" <<<"$1" && grep -qF "~/.local/share/tessaranium" <<<"$1" \
    && grep -qF "tessaranium(6)" <<<"$1" && [ ! -e "$2" ]' _ "$help" "$STANDIN_LOG"

# Repairs on every start: pages and music come back, flags stay the player's.
rm "$player/text/gt7.tf" "$player/sound/into.mp3"
rm "$player/text/gt8.tf" && mkfifo "$player/text/gt8.tf"
printf '1\r\n' >"$player/engdat/bc.gdf"
launch
check "a deleted page and a deleted track come back as installed" \
  bash -c 'cmp -s "$1/text/gt7.tf" "$2/text/gt7.tf" && cmp -s "$1/sound/into.mp3" "$2/sound/into.mp3"' _ "$data_dir" "$player"
check "a FIFO in place of a page is replaced by the page" \
  bash -c '[ -f "$2/text/gt8.tf" ] && [ ! -p "$2/text/gt8.tf" ] && cmp -s "$1/text/gt8.tf" "$2/text/gt8.tf"' _ "$data_dir" "$player"
check "repairing the pages leaves the player's flags alone" flag_is "$player/engdat/bc.gdf" 1

# Leftovers of a launcher killed half-way are cleared on the next start.
mkdir -p "$player/.update.k1ll3d/text"
printf '0\r\n' >"$player/engdat/.seed.b.gdf.k1ll3d"
launch
check "a killed launcher's leftovers are removed on the next start" \
  test ! -e "$player/.update.k1ll3d" -a ! -e "$player/engdat/.seed.b.gdf.k1ll3d"

# Links planted at every name the launcher could be guessed to write, with the
# launcher held before it starts so its pid is known.
rm "$player/engdat/c.gdf"
printf 'not yours\n' >"$work/victim"
(cd / && exec env -u XDG_DATA_HOME HOME="$home" sh -c 'kill -STOP $$; exec "$@"' sh "$launcher") &
held=$!
wait_stopped "$held"
ln -s "$work/planted" "$player/engdat/c.gdf"
for name in "c.gdf.new.$held" "c.gdf.$held" ".c.gdf.new.$held"; do
  ln -s "$work/victim" "$player/engdat/$name"
done
kill -CONT "$held"
wait "$held"
check "links planted at guessable temporary names leave their targets untouched" \
  bash -c '[ "$(cat "$1/victim")" = "not yours" ] && [ ! -e "$1/planted" ]' _ "$work"
check "a link in place of a missing flag is replaced by the shipped flag" shipped_flag "$player/engdat/c.gdf"
find "$player/engdat" -type l -delete

# Two launchers on a first start, many times over: one whole copy each time.
racing_rounds=30
bad_rounds=0
for round in $(seq 1 "$racing_rounds"); do
  racer="$work/racer $round"
  mkdir -p "$racer"
  for _ in 1 2; do
    (cd / && exec env -u XDG_DATA_HOME HOME="$racer" "$launcher") &
  done
  wait
  whole_copy "$racer/.local/share/tessaranium" "$data_dir" || bad_rounds=$((bad_rounds + 1))
done
check "two launchers started together leave one whole copy ($racing_rounds rounds, $bad_rounds bad)" \
  test "$bad_rounds" -eq 0

# An error the player must see also goes to a dialog on the desktop: here a
# stand-in zenity that records what it was asked to show.
mkdir -p "$work/dialog bin"
cat >"$work/dialog bin/zenity" <<'DIALOG'
#!/bin/sh
printf '%s\n' "$@" >"$DIALOG_LOG"
DIALOG
chmod +x "$work/dialog bin/zenity"
export DIALOG_LOG="$work/dialog.log"
(cd / && env -u HOME -u XDG_DATA_HOME DISPLAY=:99 PATH="$work/dialog bin:$PATH" "$launcher" 2>/dev/null)
check "with a display, a launcher error is also shown in a dialog" \
  bash -c 'grep -qx -- --error "$1" && grep -q "не заданы ни XDG_DATA_HOME, ни HOME" "$1"' _ "$DIALOG_LOG"

# A read-only installation (as a package installs it for a player) still gives
# the player pages and flags they own and can rewrite.
home="$work/second player"
player="$home/.local/share/tessaranium"
mkdir -p "$home"
chmod -R a-w "$data_dir"
launch
chmod -R u+w "$data_dir"
user_writable() {  # every file and folder has the owner's write bit
  [ -z "$(find "$1" ! -perm -u+w)" ]
}
check "a read-only installation still gives the player a writable folder" user_writable "$player"

rm -f "$STANDIN_LOG"
status=$(cd / && env -u HOME -u XDG_DATA_HOME "$launcher" 2>"$work/nohome.log"; echo $?)
check "without HOME or XDG_DATA_HOME the launcher stops with a message" \
  test "$status" != 0 -a ! -e "$STANDIN_LOG" -a -s "$work/nohome.log"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
