#!/usr/bin/env bash
# Scripted measurement of the graph export under Wine: exports a graph of
# 100,000 points by 300 rows (the win_tests case ExportGraph.HundredThousand*)
# and prints the wall time and the peak memory of the test process, next to
# the size of the 24-bit capture. Prints figures only; never a pass or fail.
# Needs a built build/mingw/win_tests.exe.
set -uo pipefail
cd "$(dirname "$0")/.."
if [ -z "${TAMSOLO_IN_XVFB:-}" ]; then
  TAMSOLO_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
source tools/wine-env
wine_prefix_ready
log=$(mktemp)
run() {
  /usr/bin/time -f '%e %M' -o "$log" "$winecmd" build/mingw/win_tests.exe \
    --gtest_filter="$1" >/dev/null 2>&1
  read -r seconds kilobytes < "$log"
  echo "$seconds $kilobytes"
}
run 'MenuResource.MainPopupHasTheDocumentedOrder' >/dev/null  # starts Wine once
read -r baseSeconds baseKb < <(run 'MenuResource.MainPopupHasTheDocumentedOrder')
read -r seconds kb < <(run 'ExportGraph.HundredThousandPointsOfThreeHundredRows')
capture=$((100000 * 3 * 300 / 1024))
echo "baseline process: ${baseSeconds} s, peak ${baseKb} KiB"
echo "export 100000 x 300: ${seconds} s wall (including the baseline), peak ${kb} KiB"
echo "24-bit capture: ${capture} KiB; peak above baseline: $((kb - baseKb)) KiB"
rm -f "$log"
