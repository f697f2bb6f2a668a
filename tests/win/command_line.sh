#!/usr/bin/env bash
# Starts the calculator under Wine with each kind of command-line argument and
# checks, through a second process, what a user sees once the window runs.
# Prints "command_line: N passed, M failed" last.
set -uo pipefail
cd "$(dirname "$0")/../.."
source tools/wine-env
rerun_in_display "$0" "$@"
bin=build/mingw
passed=0
failed=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1)); echo "FAILED: $1: expected '$2', got '$3'"
  fi
}
exe=$(winepath -w "$bin/tamsolocalc.exe" 2>/dev/null)

# start [start-mode] ARGUMENT: runs the calculator and waits for its window.
start() {
  local mode=start
  if [ "$1" = unquoted ]; then mode=start-unquoted; shift; fi
  # Not through a pipe: the calculator would inherit it and hold it open.
  "$winecmd" "$bin/drive_calc.exe" "$mode" "$exe" "$1" </dev/null >/dev/null 2>&1 &
  if drive wait 30 >/dev/null; then return 0; fi
  check "the window appears for '$1'" shown missing
  return 1
}
# Lets posted commands run, then closes the window and waits until it is gone.
settle() { sleep 1; }
close() {
  drive close
  drive gone 15 || check "the window closes" gone open
}

wine_prefix_ready
data_dir="build/command line test"
mkdir -p "$data_dir"
printf '1\r\n2\r\n3\r\n4\r\n' > "$data_dir/four values.txt"
data=$(winepath -w "$data_dir/four values.txt" 2>/dev/null)

# A file argument in quotes, with blanks in its name, is plotted.
if start "\"$data\""; then
  settle
  mapfile -t status < <(drive status)
  check "a file argument is plotted" "Data Points:4" "${status[0]:-}"
  check "its maximum" "Max Value:4" "${status[2]:-}"
  check "the line stays empty" "" "$(drive line)"
  close
fi

# An expression is evaluated once the window runs.
if start "2+3"; then
  settle
  check "2+3 shows 5" "5" "$(drive line)"
  check "the title" "TamsoloCalc" "$(drive title)"
  close
fi

# Without a quoted program path no argument is taken.
if start unquoted "2+3"; then
  settle
  check "an unquoted program path takes no argument" "" "$(drive line)"
  close
fi

# Reversing the empty data set at start changes nothing; the argument was also
# evaluated as an expression. Reversing leaves the statistics bar as it was,
# empty; a DATA line then has the bar count the points.
if start "/cmd=40011"; then
  settle
  check "/cmd=40011 leaves INVALID in the line" "INVALID" "$(drive line)"
  mapfile -t status < <(drive status)
  check "/cmd=40011 leaves the statistics bar empty" "" "${status[0]-unread}"
  drive plot "data" >/dev/null
  mapfile -t status < <(drive status)
  check "/cmd=40011 leaves the data set empty" "Data Points:0" "${status[0]:-}"
  check "/cmd=40011 keeps the title" "TamsoloCalc" "$(drive title)"
  close
fi

# Graphing Options opens at start, with INVALID in the line behind it.
if start "/cmd=40002"; then
  settle
  check "/cmd=40002 opens Graph Configuration" "1" "$(drive dialog "Graph Configuration")"
  check "the line behind it shows INVALID" "INVALID" "$(drive line)"
  drive cancel "Graph Configuration"
  sleep 0.5
  check "Graph Configuration closes on Cancel" "0" "$(drive dialog "Graph Configuration")"
  close
fi

rm -rf "$data_dir"
echo "command_line: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
