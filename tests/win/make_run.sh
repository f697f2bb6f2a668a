#!/usr/bin/env bash
# Runs `make run` as on a machine without a display: in a clean environment
# (only PATH and HOME, no DISPLAY, outside any make). It must plot a sample,
# save a picture of the window that shows the curve, close the calculator so
# that its window position is saved, say where the picture is and how to get a
# real window, and end with 0. A window that does not come up in time ends the
# run with a message, a failure status and no calculator left running.
# Prints "make_run: N passed, M failed" last.
set -uo pipefail
cd "$(dirname "$0")/../.."
source tools/wine-env
source tests/win/tools/checks.bash
clean_env() { env -i PATH="$PATH" HOME="$HOME" "$@"; }
# Calculators started from this tree: Wine shows their path with either slash.
no_calculator_left() { ! pgrep -f "${root//\//.}.build.mingw.tamsolocalc.exe" >/dev/null; }
# The suite's Wine session belongs to its own display and this run's to
# another: let each end before the next begins.
wine_session_ends() { timeout 30 wineserver -w 2>/dev/null; }
shot=build/run-screenshot.png
settings=$WINEPREFIX/drive_c/windows/win.ini

wine_session_ends
rm -f "$shot"
[ -f "$settings" ] && sed -i '/^WindowPos[XY]=/d' "$settings"
output=$(clean_env make run 2>&1)
check "make run ends with 0" test $? -eq 0
echo "$output" | tail -3
grep_output() { echo "$output" | grep -qF "$1"; }
check "it says it runs without a display" grep_output "No display:"
check "it names the picture" grep_output "a picture of its window: $shot"
check "it tells how to get a real window" grep_output "dist/TamsoloCalc.zip"
check "the window position was saved on close" grep -q '^WindowPosX=' "$settings"
check "no calculator is left running" no_calculator_left

read -r w h < <(identify -format '%w %h\n' "$shot" 2>/dev/null) || { w=0; h=0; }
check "the picture is of the window, not the screen" test "$w" -gt 200 -a "$w" -lt 1280
# The curve's pixels (#00FF00) span most rows and columns of the window; the
# line's text, in the same colour, spans a few rows only.
read -r columns rows < <(convert "$shot" txt:- 2>/dev/null | awk -F'[,:]' '/#00FF00/ {
  x[$1]; y[$2]} END {print length(x), length(y)}')
check "the curve spans the window's width" test "${columns:-0}" -gt $((w / 2))
check "the curve spans the window's height" test "${rows:-0}" -gt $((h / 2))

output=$(clean_env TAMSOLO_START_SECONDS=0 tools/wine-launch build/mingw/tamsolocalc.exe 2>&1)
check "a window that does not come up in time fails the run" test $? -ne 0
check "and says so" grep_output "did not come up within 0 seconds"
check "and stops the calculator" no_calculator_left
wine_session_ends

summary make_run
