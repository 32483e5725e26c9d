#!/usr/bin/env bash
# Installs the Debian packages a make target needs, only those that are
# missing. Uses sudo only when not running as root.
# Usage: tools/install-deps.sh [PROFILE...]   (none: test and fuzz, all of it)
#   build     compiling the game: the compiler and the source package's
#             build dependencies (debian/control)
#   play      build, and what the music plays through (tessaranium-music's
#             dependencies in debian/control)
#   test      play, and what the tests drive and watch the game with
#   fuzz      build, and clang with libFuzzer
#   bench     play, and a sound server, a session bus and the X tools the
#             benchmarks watch the game with
#   package   the source package's build dependencies and the tools that
#             build it (dpkg-buildpackage, debhelper)
set -euo pipefail
control=$(cd "$(dirname "$0")/.." && pwd)/debian/control

# The package names of a relation field of one stanza of debian/control,
# without versions, architectures or profiles, the first of alternatives,
# and no substitution variables or packages of this source.
control_names() {  # control_names FIELD STANZA_FIRST_LINE
  awk -v field="$1" -v stanza="$2" '
    /^$/ { in_stanza = 0; next }
    $0 == stanza { in_stanza = 1 }
    !in_stanza { next }
    /^[^ \t]/ { on = (index($0, field ":") == 1); if (on) sub(/^[^:]*:/, "") }
    on { print }' "$control" \
    | tr ',' '\n' | sed -e 's/|.*//' -e 's/([^)]*)//g' -e 's/\[[^]]*\]//g' -e 's/<[^>]*>//g' \
    | awk 'NF && $1 !~ /^\$/ && $1 !~ /^tessaranium/ { print $1 }'
}
build_depends() {
  control_names Build-Depends "Source: tessaranium" | sed 's/^debhelper-compat$/debhelper/'
}

profile_build() {
  echo g++ make
  build_depends | grep -vx debhelper
}
profile_play() {
  profile_build
  control_names Depends "Package: tessaranium-music"
}
profile_test() {
  profile_play
  # a virtual X server and a hand on its mouse; screenshots
  echo xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick
  # a sound server with a silent output, which the reliability test kills
  echo pulseaudio
  # clicks through XTest and reads the pixels back (tests/lib/paint_watch)
  echo libxcb1-dev libxcb-xtest0-dev libxcb-shm0-dev
  # the menu entry started through GLib, as a desktop starts it
  echo libglib2.0-bin
  # the screen reader test: a private D-Bus session, the accessibility bus
  # and Python's AT-SPI client
  echo dbus at-spi2-core python3-pyatspi
  # the end-to-end test with Debian's screen reader, speaking through
  # espeak-ng to ALSA's null device
  echo orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
}
profile_fuzz() {
  profile_build
  echo clang libclang-rt-14-dev
}
profile_bench() {
  profile_play
  echo pulseaudio pulseaudio-utils dbus xvfb libxcb1-dev libxcb-xtest0-dev libxcb-shm0-dev xdotool
}
profile_package() {
  echo dpkg-dev
  build_depends
}

[ $# -gt 0 ] || set -- test fuzz
wanted=()
for profile in "$@"; do
  case $profile in
    build|play|test|fuzz|bench|package) ;;
    *) echo "$0: no profile $profile" >&2; exit 2 ;;
  esac
  read -r -a names <<<"$("profile_$profile" | tr '\n' ' ')"
  wanted+=("${names[@]}")
done

missing=()
for package in $(printf '%s\n' "${wanted[@]}" | sort -u); do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
