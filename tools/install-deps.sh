#!/usr/bin/env bash
# Installs the Debian packages the game, its build and its tests need, and
# only those that are missing. Uses sudo only when not running as root.
set -euo pipefail

packages=(
  # build
  cmake g++ make pkg-config
  qt6-base-dev qt6-multimedia-dev libqt6multimedia6
  # the Debian package: its library dependencies read by dpkg-shlibdeps
  dpkg-dev
  # music: Qt's GStreamer backend and MP3 decoding
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  # tests and screenshots: a virtual X server and a hand on its mouse
  xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick
  # a sound server with a silent output, which the reliability test kills
  pulseaudio
  # clicks through XTest and reads the pixels back (tools/paint_watch)
  libxcb1-dev libxcb-xtest0-dev libxcb-shm0-dev
  # the screen reader test: a private D-Bus session, the accessibility bus
  # and Python's AT-SPI client
  dbus at-spi2-core python3-pyatspi
  # the end-to-end test with Debian's screen reader, speaking through
  # espeak-ng to ALSA's null device
  orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
  # fuzzing the game's parsers
  clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
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
