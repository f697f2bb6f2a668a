# Sourced by the scripted Windows tests (tests/win/*.sh): counts their checks
# and prints the summary line that tools/wine-tests reads.
passed=0
failed=0
# check NAME CONDITION...: counts whether the condition holds, naming a failure.
check() {
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $name"; fi
}
# summary NAME: prints "NAME: N passed, M failed"; succeeds when none failed.
summary() {
  echo "$1: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
