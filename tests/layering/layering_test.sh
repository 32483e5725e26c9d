#!/usr/bin/env bash
# Usage: layering_test.sh CMAKE BUILD_DIR LINKED_PROBE [PROBE=HEADER...]
# The linked probe must build; every other probe must fail to compile
# because its header is not found (and for no other reason).
set -u
cmake=$1 build=$2 linked=$3
shift 3
failed=0
if out=$("$cmake" --build "$build" --target "$linked" 2>&1); then
  echo "ok: $linked builds"
else
  printf '%s\n' "$out"
  echo "FAIL: $linked, which links its header's library, does not build"
  failed=1
fi
for pair in "$@"; do
  probe=${pair%%=*} header=${pair#*=}
  if out=$("$cmake" --build "$build" --target "$probe" 2>&1); then
    echo "FAIL: $probe includes $header without linking its library, and builds"
    failed=1
  elif grep -q -e "$header: No such file or directory" -e "'$header' file not found" <<<"$out"; then
    echo "ok: $probe cannot include $header"
  else
    printf '%s\n' "$out"
    echo "FAIL: $probe did not build, but not for $header being out of reach"
    failed=1
  fi
done
exit $failed
