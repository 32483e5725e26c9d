# The packages as files, before anything is installed: what the source
# package made, their control fields, the same bytes from a build elsewhere,
# lintian, one version everywhere, modes, hardening. Sourced by
# package_test.sh, with the .changes and its files copied into $packages.

field() { dpkg-deb -f "$1" "$2"; }
member() {  # member DEB PATH: prints a file of the package
  dpkg-deb --fsys-tarfile "$1" | tar -xOf - "./$2"
}
built=$(cd "$packages" && ls)

check "make package made the source package, five binary packages and the .changes listing them" \
  test "$(echo "$built" | sed "s/_${version}[._].*//" | sort | tr '\n' ' ')" \
    = "tessaranium tessaranium tessaranium tessaranium tessaranium tessaranium-data tessaranium-dbgsym tessaranium-music tessaranium-music-dbgsym "
check "the source package is native, its version the changelog's" \
  bash -c 'grep -qx "Format: 3.0 (native)" "$1" && grep -qx "Version: $2" "$1"' _ "$packages/tessaranium_$version.dsc" "$version"
one_source() {
  local file source
  for file in "$packages"/*.deb; do
    source=$(field "$file" Source)
    [ "${source:-$(field "$file" Package)} $(field "$file" Version)" = "tessaranium $version" ] \
      || { echo "    ${file##*/}: source ${source:-$(field "$file" Package)}"; return 1; }
  done
}
check "every binary package comes from the source tessaranium at the changelog's version" one_source
check "tessaranium-data is one package for every architecture: all, Multi-Arch: foreign" \
  test "$(field "$data_deb" Architecture) $(field "$data_deb" Multi-Arch)" = "all foreign"
check "every package is filed under games and maintained by Orbitrum Games" \
  bash -c 'for d; do [ "$(dpkg-deb -f "$d" Section)" = games ] && [[ $(dpkg-deb -f "$d" Maintainer) == "Orbitrum Games <"*">" ]] \
    || exit 1; done' _ "$deb" "$music_deb" "$data_deb"

relation_names() {  # relation_names DEB FIELD: one package name a line
  field "$1" "$2" | tr ',|' '\n\n' | sed 's/(.*//' | awk 'NF {print $1}'
}
# Each RELATION is in Depends: a package name, or a name with its version
# constraint as written.
depends_on() {  # depends_on DEB RELATION...
  local relation depends names
  depends=", $(field "$1" Depends),"
  names=$(relation_names "$1" Depends)
  shift
  for relation; do
    [[ $depends == *", $relation,"* ]] || grep -qxF "$relation" <<<"$names" \
      || { echo "    Depends lacks $relation: $depends"; return 1; }
  done
}
check "the game depends on its data of its version and on the Qt libraries it links" \
  depends_on "$deb" "tessaranium-data (= $version)" libqt6core6 libqt6gui6 libqt6widgets6
no_media_framework() {
  [ "$(relation_names "$deb" Recommends)" = tessaranium-music ] \
    && ! relation_names "$deb" Depends | grep -E "multimedia|gstreamer|pulse|libav"
}
check "the game recommends its music and depends on no media framework" no_media_framework
check "the music depends on the game of its version, Qt Multimedia and the GStreamer plugins for MP3" \
  depends_on "$music_deb" "tessaranium (= $version)" libqt6multimedia6 gstreamer1.0-plugins-base \
    gstreamer1.0-plugins-good
no_transitional_sink() {
  local file name
  for file in "$deb" "$music_deb" "$data_deb"; do
    for name in Depends Recommends Suggests; do relation_names "$file" "$name"; done
  done | grep -x gstreamer1.0-pulseaudio && return 1
  return 0
}
check "no package names gstreamer1.0-pulseaudio, an empty transitional package (the sink is in plugins-good)" \
  no_transitional_sink

# --- The same bytes, whoever builds ------------------------------------------------

if [ -n "$elsewhere" ]; then
  same_as_elsewhere() {
    local file count=0
    for file in "$packages"/*.deb "$packages"/*.dsc "$packages"/*.tar.xz; do
      cmp -s "$file" "$elsewhere/${file##*/}" || { echo "    ${file##*/} differs"; return 1; }
      count=$((count + 1))
    done
    [ "$count" -eq "$(ls "$elsewhere" | wc -l)" ]
  }
  check "a build elsewhere (folder, no .git, umask 077, locale, time zone, jobs, time) gives the same bytes" \
    same_as_elsewhere
else
  echo "SKIP: no second build to compare (make package-test makes one)"
fi

# --- Lintian, as Debian runs it, as an ordinary user ------------------------------

lintian_clean() {
  player_folders "$work/lintian"
  as_user env -i HOME="$work/lintian" TMPDIR="$work/lintian" PATH=/usr/bin:/bin LANG=C.UTF-8 \
    lintian -I -E --pedantic --tag-display-limit 0 "$packages/${changes##*/}" >"$work/lintian.out" 2>&1
  local status=$?
  [ "$status" -eq 0 ] && [ ! -s "$work/lintian.out" ] && return 0
  sed 's/^/    /' "$work/lintian.out"
  return 1
}
check "lintian -I -E --pedantic prints nothing on the .changes, the .dsc and every .deb" lintian_clean

# --- One version -------------------------------------------------------------------

one_version() {
  local release man_date changelog
  release=$(member "$deb" usr/share/metainfo/ru.orbitrum_games.tessaranium.metainfo.xml | grep -m1 -o '<release [^>]*>')
  man_date=$(member "$deb" usr/share/man/man6/tessaranium.6.gz | gzip -dc | head -n 1)
  changelog=$(member "$deb" usr/share/doc/tessaranium/changelog.gz | gzip -dc | head -n 1)
  [ "$release" = "<release version=\"$version\" date=\"$release_date\" type=\"stable\">" ] \
    && [ "$man_date" = ".TH TESSARANIUM 6 $release_date \"tessaranium $version\" \"Games\"" ] \
    && [[ $changelog == "tessaranium ($version) "* ]] && return 0
  printf '    %s\n' "$release" "$man_date" "$changelog"
  return 1
}
check "one version: the installed changelog, AppStream release and manual page are the changelog's" one_version

# --- What is where, with which modes ------------------------------------------------

paths_of() { dpkg-deb -c "$1" | awk '{print $6}'; }
game_and_module_apart() {
  local path game_paths
  game_paths=$(paths_of "$deb")
  for path in ./usr/games/tessaranium ./usr/libexec/tessaranium/tessaranium ./usr/libexec/tessaranium/cursor/cur.cgf \
      ./usr/share/applications/tessaranium.desktop ./usr/share/doc/tessaranium/LICENSE-ParaType.txt; do
    grep -qxF "$path" <<<"$game_paths" || { echo "    tessaranium lacks $path"; return 1; }
  done
  paths_of "$music_deb" | grep -qxF ./usr/libexec/tessaranium/tessaranium-music.so \
    && ! grep -q music <<<"$game_paths"
}
check "the game, its launcher and cursor are in tessaranium, the module in tessaranium-music alone" game_and_module_apart
check "the pages, music and flags are in tessaranium-data only" \
  bash -c '[ "$(dpkg-deb -c "$1" | grep -c " ./usr/share/tessaranium/.*\.\(tf\|mp3\|gdf\)$")" -eq "$(ls "$3"/text/*.tf "$3"/sound/*.mp3 "$3"/engdat/*.gdf | wc -l)" ] \
    && ! dpkg-deb -c "$2" | grep -q " ./usr/share/tessaranium/"' _ "$data_deb" "$deb" "$source_dir"
plain_modes() {  # folders 0755, files 0644, the programs and the module 0755, all root's
  local deb_file
  for deb_file in "$packages"/*.deb; do
    dpkg-deb -c "$deb_file" | awk '
      $2 != "root/root" { print "    owner " $2 ": " $6; bad = 1 }
      $1 ~ /^d/ && $1 != "drwxr-xr-x" { print "    " $1 " " $6; bad = 1 }
      $1 ~ /^-/ && $1 != "-rw-r--r--" && !($1 == "-rwxr-xr-x" && $6 ~ /^\.\/usr\/(games\/tessaranium|libexec\/tessaranium\/tessaranium(-music\.so)?)$/) {
        print "    " $1 " " $6; bad = 1 }
      END { exit bad }' || return 1
  done
}
check "no mode follows the builder's umask: folders 0755, files 0644, only the programs and module 0755" plain_modes

# --- The executables: hardened as Debian's, symbols in the -dbgsym packages --------

mkdir -p "$work/unpacked"
dpkg-deb -x "$deb" "$work/unpacked"
dpkg-deb -x "$music_deb" "$work/unpacked"
hardened() {  # hardened ELF
  local elf=$work/unpacked$1 problems=()
  readelf -h "$elf" | grep -q 'Type:.*DYN' || problems+=("not position-independent")
  readelf -lW "$elf" | grep -q GNU_RELRO || problems+=("no RELRO")
  readelf -dW "$elf" | grep -Eq 'BIND_NOW|FLAGS.*NOW' || problems+=("no BIND_NOW")
  readelf -sW --dyn-syms "$elf" | grep -q '__[a-z_]*_chk' || problems+=("no fortified functions")
  readelf -SW "$elf" | grep -Eq ' \.symtab | \.comment | \.note | \.debug_' && problems+=("unneeded sections")
  readelf -nW "$elf" | grep -q 'Build ID' || problems+=("no build id")
  [ ${#problems[@]} -eq 0 ] && return 0
  echo "    ${problems[*]}"
  return 1
}
check "the game is PIE, RELRO with BIND_NOW, fortified, stripped" hardened "$game"
check "the music module is RELRO with BIND_NOW, fortified, stripped" hardened "$music_module"
debug_symbols_of() {  # debug_symbols_of ELF DBGSYM_DEB: the build id's debug file is there
  local id
  id=$(readelf -nW "$work/unpacked$1" | sed -n 's/.*Build ID: \([0-9a-f]*\)/\1/p')
  dpkg-deb -c "$2" | grep -c " ./usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug$" >/dev/null
}
arch=$(dpkg --print-architecture)
check "tessaranium-dbgsym holds the game's debugging symbols" \
  debug_symbols_of "$game" "$packages/tessaranium-dbgsym_${version}_$arch.deb"
check "tessaranium-music-dbgsym holds the module's debugging symbols" \
  debug_symbols_of "$music_module" "$packages/tessaranium-music-dbgsym_${version}_$arch.deb"
