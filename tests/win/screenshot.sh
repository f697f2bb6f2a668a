#!/usr/bin/env bash
# Starts the calculator under Wine in an X display, plots a sample equation
# through a second process, takes a screenshot and checks what a user sees:
# the curve in the graph area and the four statistics texts. Saves the
# picture as build/screenshot.png. Prints "screenshot: N passed, M failed" last.
set -uo pipefail
cd "$(dirname "$0")/../.."
source tools/wine-env
rerun_in_display "$0" "$@"
bin=build/mingw
source tests/win/tools/checks.bash
finish() {
  summary screenshot
  exit
}

wine_prefix_ready
"$winecmd" "$bin/tamsolocalc.exe" &
calc=$!
if ! drive wait 30 >/dev/null; then
  check "the main window appears" false
  kill "$calc" 2>/dev/null
  finish
fi
check "the main window appears" true

drive size 640 400
drive plot "sin( x ) {0,6*pi}"
sleep 1
import -window root build/screenshot.png 2>/dev/null
check "a screenshot was taken" test -s build/screenshot.png

mapfile -t status < <(drive status)
check "the bar counts the points" test "${status[0]:-}" != "" -a "${status[0]#Data Points:}" -gt 100
check "the bar shows the minimum" test "${status[1]:-}" = "Min Value:-1"
check "the bar shows the maximum" test "${status[2]:-}" = "Max Value:1"
check "the bar shows the mean" test "${status[3]:0:10}" = "Avg Value:"

read -r gx gy gw gh _ _ < <(drive graphrect)
# Pixels of the graph area in the screenshot: "count: (r,g,b)" histogram lines.
histogram=$(convert build/screenshot.png -crop "${gw}x${gh}+${gx}+${gy}" +repage \
  -format %c histogram:info:- 2>/dev/null)
count_of() { echo "$histogram" | awk -v c="$1" '$0 ~ c {gsub(":", "", $1); n += $1} END {print n + 0}'; }
green=$(count_of "#00FF00")
black=$(count_of "#000000")
area=$((gw * gh))
check "the graph area shows the curve in green" test "$green" -gt $((gw * 2))
check "the graph area is black around it" test "$black" -gt $((area / 2))

# The graph area and its scroll bar after wheel notches and zoom steps look
# as they do drawn anew: a step that moves the thumb, or shows or hides the
# bar, draws it, though a step that leaves the bar as it looks does not. Each
# picture is the graph area as the display shows it.
area_picture() {
  local x y w h
  read -r x y w h _ _ < <(drive graphrect) || return 1
  capture_rect "$1" "$x" "$y" "$w" "$h"
}
differing_pixels() { compare -metric AE "$1" "$2" null: 2>&1 >/dev/null; }
bars=$(mktemp -d)
drive plot "x {0,1,0,3000}"
drive zoom 2
area_picture "$bars/start.png"
moved=0
for step in "scroll 4" "scroll 4" "scroll -7" "zoom 1" "scroll 30" "zoom -1" "zoom -5" "zoom 2"; do
  drive $step
  area_picture "$bars/after.png"
  drive redraw
  area_picture "$bars/anew.png"
  check "after $step the graph area looks as drawn anew" \
    test "$(differing_pixels "$bars/after.png" "$bars/anew.png")" = 0
  [ "$(differing_pixels "$bars/start.png" "$bars/after.png")" = 0 ] || moved=$((moved + 1))
  cp "$bars/after.png" "$bars/start.png"
done
check "the steps changed the picture" test "$moved" -ge 6
rm -rf "$bars"

drive close
wait "$calc"
check "closing ends the program with 0" test $? -eq 0
finish
