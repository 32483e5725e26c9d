#!/usr/bin/env bash
# Runs every fuzz target for a bounded time from its seed corpus; new inputs
# go to a temporary folder, never into the committed corpus. A crash, a leak
# or a failed check ends the run with the input that caused it saved in the
# current folder (crash-*, leak-*, timeout-*).
# Usage: run_fuzzers.sh FUZZ_BUILD_DIR [SECONDS_EACH]
set -euo pipefail
build=$1
seconds=${2:-25}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
for target in text flags console cursor; do
  mkdir -p "$work/$target"
  echo "== fuzz_$target for $seconds s"
  if "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
       -print_final_stats=1 "$work/$target" "$here/corpus/$target" >"$work/$target.log" 2>&1; then
    passed=$((passed + 1))
    grep -E '^stat::(number_of_executed_units|peak_rss_mb|new_units_added)' "$work/$target.log" | sed 's/^/   /'
    grep -E 'cov: [0-9]+' "$work/$target.log" | tail -n 1 | sed 's/^/   /'
  else
    failed=$((failed + 1))
    tail -n 60 "$work/$target.log"
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
