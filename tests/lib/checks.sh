# Checks for the test scripts: each prints PASS or FAIL with its name, and
# the script ends with the line "N passed, M failed".
passed=0
failed=0
check() {  # check NAME COMMAND...
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1)); echo "PASS: $name"
  else
    failed=$((failed + 1)); echo "FAIL: $name"
  fi
}
