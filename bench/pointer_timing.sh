#!/usr/bin/env bash
# Measures the pointer over the graph under Wine (in Xvfb when there is no
# display), with 1,000,000 points in a graph area 1000 pixels wide, each figure
# the mean, the median and the longest of its runs, in milliseconds:
#  - a mouse move: the point under the pointer found, its mark moved and the
#    tooltip's text and place set (from a second process, as the message
#    arrives);
#  - a Ctrl+wheel zoom step, from fitting in and back out to fitting, each
#    step painted before the next;
#  - a wheel notch of scrolling, painted;
#  - the zoom step and the wheel notch again with 1,000 points.
# Needs the Windows build (cmake --build build/mingw). Prints the figures.
set -uo pipefail
cd "$(dirname "$0")/.."
source tools/wine-env
rerun_in_display "$0" "$@"
wine_prefix_ready

start_with_graph_width 1000 400
read -r gx gy gw gh ww wh < <(drive graphrect)
echo "graph area: ${gw} x ${gh} pixels, 1,000,000 points"
drive plot "x {0,1,0,1000000}"
report() {
  awk -v what="$1" '{printf "%s: mean %.2f ms, median %.2f ms, longest %.2f ms\n", what, $1, $2, $3}'
}
drive time-hover 200 | report "mouse move (200 moves across the area)"
drive time-zoom 8 | report "Ctrl+wheel zoom step (8 in, 8 out)"
drive zoom 3 >/dev/null
drive time-hover 200 | report "mouse move, zoomed in 3 steps"
drive time-wheel 10 | report "wheel notch of scrolling (10 right, 10 left)"
# With few points nearly every step moves the scroll bar's thumb, which is then
# drawn as well.
drive plot "x {0,1,0,1000}"
drive time-zoom 8 | report "Ctrl+wheel zoom step, 1,000 points"
drive zoom 3 >/dev/null
drive time-wheel 10 | report "wheel notch of scrolling, 1,000 points"
drive close
wait "$app"
