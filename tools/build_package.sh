#!/usr/bin/env bash
# Builds the Debian source and binary packages into OUT_DIR with
# dpkg-buildpackage, from a clean copy of the source tree (so no build folder
# or stray file gets in, and the packages land beside it, not in the tree's
# parent): tessaranium_<version>.dsc and .tar.xz, the .debs of tessaranium,
# tessaranium-music, tessaranium-data and the -dbgsym packages, .buildinfo
# and .changes. Every time stamp comes from debian/changelog, so any builder
# gets the same .debs.
# Needs the build dependencies (tools/install-deps.sh package).
# Usage: tools/build_package.sh OUT_DIR [JOBS]
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
jobs=${2:-$(nproc)}

version=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)
stage=$out/tessaranium-$version
rm -rf "$stage" "$out"/tessaranium*_"$version"[._]*
mkdir -p "$stage"

# The files of the source: what git tracks or would track; in a tree without
# git (an unpacked source package), everything but the build folders.
if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard) \
    | (cd "$source_dir" && while IFS= read -r -d '' file; do
         [ -e "$file" ] && printf '%s\0' "$file"
       done) \
    | tar -C "$source_dir" --null --no-recursion -T - -cf - \
    | tar -C "$stage" -xf -
else
  tar -C "$source_dir" --exclude-vcs --exclude='./build*' --exclude=./.cache \
      --exclude=./Testing -cf - . | tar -C "$stage" -xf -
fi
# The builder's umask stays out of the source: plain modes, executables kept.
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f -perm -u+x -exec chmod 755 {} +
find "$stage" -type f ! -perm -u+x -exec chmod 644 {} +

# The date of the newest changelog entry, whatever the builder's clock,
# time zone or environment says.
unset SOURCE_DATE_EPOCH
cd "$stage"
dpkg-buildpackage -us -uc -j"$jobs"
