#!/usr/bin/env bash
# Measures the calculator window under Wine (in Xvfb when there is no display):
#  - start-up: milliseconds from starting the program until its window shows,
#    against the minimal dialog program of tests/win/tools, five runs each;
#  - "x^2" and Enter with a graph area 1000 pixels wide: the plot (the OK
#    command, sent from a second process) and the repaint that follows;
#  - the repaint after a resize with 1,000,000 points.
# Needs the Windows build (cmake --build build/mingw). Prints the figures.
set -uo pipefail
cd "$(dirname "$0")/.."
source tools/wine-env
rerun_in_display "$0" "$@"
bin=build/mingw
wine_prefix_ready
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

drive launch "$bin/minimal_dialog.exe" >/dev/null  # warm Wine up
minimal=$(for i in 1 2 3 4 5; do drive launch "$bin/minimal_dialog.exe"; done | median)
calc=$(for i in 1 2 3 4 5; do drive launch "$bin/tamsolocalc.exe"; done | median)
echo "start-up (median of 5): minimal dialog ${minimal} ms, calculator ${calc} ms," \
  "ratio $(awk -v a="$calc" -v b="$minimal" 'BEGIN {printf "%.2f", a / b}')"

start_with_graph_width 1000 400
read -r gx gy gw gh ww wh < <(drive graphrect)
width=$ww
echo "graph area: ${gw} x ${gh} pixels"
for i in 1 2 3; do drive time-plot "x^2"; done | awk '{p += $1; r += $2} END {
  printf "x^2 and Enter (mean of 3): plot %.2f ms, repaint %.2f ms, together %.2f ms\n",
         p / NR, r / NR, (p + r) / NR}'
drive plot "x {0,1,0,1000000}"
for size in "$((width - 20)) 420" "$((width + 20)) 380" "$((width - 10)) 410" "$width 400"; do
  drive time-repaint $size
done |
  awk '{r += $1} END {printf "repaint after a resize, 1,000,000 points (mean of %d): %.2f ms\n", NR, r / NR}'
drive close
wait "$app"
