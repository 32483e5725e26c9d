#!/usr/bin/env bash
# Builds the packages a second time as another builder would, for
# package_test.sh to compare with the first build byte for byte: from the
# source package unpacked in another folder (so without .git), with umask 077,
# another locale and time zone, one job, later. Copies the .dsc, .tar.xz and
# .debs it makes into OUT_DIR.
# Usage: build_elsewhere.sh FIRST_BUILD_DIR OUT_DIR
set -euo pipefail
first=$(cd "$1" && pwd)
out=$(mkdir -p "$2" && cd "$2" && pwd)
dsc=$(ls "$first"/tessaranium_*.dsc)

elsewhere=$(mktemp -d /tmp/tessaranium-elsewhere.XXXXXX)
trap 'rm -rf "$elsewhere"' EXIT
rm -f "$out"/*

# Whatever the first build ran with, something else.
if [ "$(locale 2>/dev/null | sed -n 's/^LC_CTYPE="\{0,1\}\([^"]*\)"\{0,1\}$/\1/p')" = C ]; then
  other_locale=C.UTF-8
else
  other_locale=C
fi

(
  umask 077
  dpkg-source -x "$dsc" "$elsewhere/source" >"$elsewhere/unpack.log"
  cd "$elsewhere/source"
  # Twelve hours ahead of UTC, written so that no zone data is needed.
  export TZ=ELSEWHERE-12 LC_ALL=$other_locale LANG=$other_locale
  echo "Building again in $elsewhere (no .git, umask $(umask), TZ=$TZ, LC_ALL=$LC_ALL, one job)"
  make package PKG_BUILD="$elsewhere/packages" JOBS=1 >"$elsewhere/build.log" 2>&1 \
    || { tail -n 40 "$elsewhere/build.log"; exit 1; }
)
cp "$elsewhere"/packages/*.deb "$elsewhere"/packages/*.dsc "$elsewhere"/packages/*.tar.xz "$out"/
