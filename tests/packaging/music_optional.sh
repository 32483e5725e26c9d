# The music is optional. Installed alone, the game needs no media framework
# and plays in silence, saying so once; with tessaranium-music it plays its
# music through the player's sound server under the game's name. Sourced by
# package_test.sh in the player's session (player_session.sh).

# What apt installs for the packages on a system that has nothing yet.
dependency_closure() {  # dependency_closure DEB...
  : >"$work/empty-status"
  apt-get install -s --no-install-recommends -o Dir::State::status="$work/empty-status" "$@" 2>/dev/null \
    | sed -n 's/^Inst \([^ ]*\) .*/\1/p'
}
media_framework() { grep -E '^(libqt6multimedia6|gstreamer1\.0-.*|libgstreamer.*|libav(codec|format|util).*|libpulse0)$'; }
alone=$(dependency_closure "$packages/${deb##*/}" "$packages/${data_deb##*/}")
with_music=$(dependency_closure "$packages/${deb##*/}" "$packages/${data_deb##*/}" "$packages/${music_deb##*/}")
echo "    on an empty system apt installs $(wc -l <<<"$alone") packages for the game alone," \
  "$(wc -l <<<"$with_music") with its music"
check "on a system without them, the game alone brings no Qt Multimedia, GStreamer, FFmpeg or PulseAudio" \
  test -n "$alone" -a -z "$(media_framework <<<"$alone")"
check "the music brings Qt Multimedia and the GStreamer plugins" \
  test "$(media_framework <<<"$with_music" | grep -cE '^(libqt6multimedia6|gstreamer1\.0-plugins-(base|good))$')" -eq 3

# --- The game alone -----------------------------------------------------------------

install_packages --no-install-recommends "$packages/${deb##*/}" "$packages/${data_deb##*/}" \
  || { cat "$work/apt.log"; give_up "apt-get cannot install $deb"; }
check "apt installs the game and its data without the music it recommends" \
  bash -c 'for p in tessaranium tessaranium-data; do dpkg-query -W -f="\${Status}" $p | grep -q "install ok installed" || exit 1; done
    ! dpkg-query -W -f="\${Status}" tessaranium-music 2>/dev/null | grep -q "install ok installed"'
check "every library the game links is there" bash -c '! ldd "$1" | grep -q "not found"' _ "$game"

: >"$work/game.log"
start_through_glib
silent_window=$(game_window)
game_pid=$(xdotool getwindowpid "$silent_window" 2>/dev/null)
check "without the music the game starts from its menu entry" test -n "$silent_window" -a -n "$game_pid"
# On to the story, past the splash, menu and intro, each of which plays a track.
plays_to_the_story() { reach_screen story >/dev/null; }
check "without the music the game plays on to the story" plays_to_the_story
check "it says once that it plays without sound, and nothing more of music" \
  test "$(grep -c 'music' "$work/game.log")" -eq 1 -a \
       "$(grep -c '^tessaranium: music: the game plays without sound' "$work/game.log")" -eq 1
check "it never loads a media framework" \
  bash -c '[ -r "/proc/$1/maps" ] && ! grep -Eq "libQt6Multimedia|libgst|libpulse" "/proc/$1/maps"' _ "$game_pid"
check "the sound server has no stream of the game" bash -c '[ -z "$1" ]' _ "$(player_streams)"
stop_game

# --- With the music ------------------------------------------------------------------

install_packages "$packages/${music_deb##*/}" || { cat "$work/apt.log"; give_up "apt-get cannot install $music_deb"; }
check "apt adds tessaranium-music to the installed game" \
  bash -c 'dpkg-query -W -f="\${Status}" tessaranium-music | grep -q "install ok installed" && [ -f "$1" ]' _ "$music_module"
