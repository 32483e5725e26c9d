#!/usr/bin/env bash
# The few Debian packages the benchmarks need beyond the game's own: a sound
# server with its command-line client (music that really plays), a session
# bus, a virtual X server, the X client libraries the start-up and page-paint
# watchers use (XTest clicks), and xdotool to type into the code box.
# Installs only what is missing; sudo only when not running as root.
set -euo pipefail

packages=(pulseaudio pulseaudio-utils dbus xvfb libxcb1-dev libxcb-xtest0-dev libxcb-shm0-dev xdotool)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
