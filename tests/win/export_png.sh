#!/usr/bin/env bash
# Saves one graph twice through "Save Graph as Bitmap..." under Wine, driving
# the real save dialog from a second process with keys and a click: as BMP,
# then with the PNG file type. An independent decoder (Python's PIL) then reads
# both files and checks that the PNG holds the same pixels, the same depth and
# the same colour table as the bitmap. Prints "export_png: N passed, M failed"
# last.
set -uo pipefail
cd "$(dirname "$0")/../.."
source tools/wine-env
rerun_in_display "$0" "$@"
bin=build/mingw
source tests/win/tools/checks.bash
# check_equal NAME EXPECTED ACTUAL, naming both when they differ.
check_equal() { check "$1: expected '$2', got '$3'" test "$2" = "$3"; }
finish() {
  rm -rf "$out"
  summary export_png
  exit
}
# Debian's Python, which has PIL; another python3 on the PATH may lack it.
python=/usr/bin/python3
[ -x "$python" ] || python=python3

out="build/png export test"
rm -rf "$out"
mkdir -p "$out"
folder=$(winepath -w "$out" 2>/dev/null)

wine_prefix_ready
"$winecmd" "$bin/tamsolocalc.exe" </dev/null >/dev/null 2>&1 &
calc=$!
if ! drive wait 30 >/dev/null; then
  check_equal "the main window appears" shown missing
  kill "$calc" 2>/dev/null
  finish
fi
drive size 640 400
drive plot "sin( x ) {0,6*pi}"

# No extension typed: the file type chosen gives it (BMP first, PNG one down).
drive post 40001
drive save-as "Save As" 0 "$folder\\graph"
check_equal "the BMP save closes the dialog" 0 "$?"
drive post 40001
drive save-as "Save As" 1 "$folder\\graph"
check_equal "the PNG save closes the dialog" 0 "$?"
drive close
wait "$calc"

check_equal "the PNG file begins with the PNG signature" "89504e470d0a1a0a" \
  "$(head -c 8 "$out/graph.png" 2>/dev/null | od -An -tx1 | tr -d ' \n')"
check_equal "the bitmap file begins with BM" "BM" "$(head -c 2 "$out/graph.bmp" 2>/dev/null)"

# One "name value" line per fact, read by the decoder.
mapfile -t facts < <("$python" - "$out/graph.bmp" "$out/graph.png" <<'PYTHON' 2>&1
import sys
from PIL import Image
bmp, png = Image.open(sys.argv[1]), Image.open(sys.argv[2])
bmp.load()
png.load()
print("format", png.format)
print("mode", png.mode, bmp.mode)
print("size", png.size == bmp.size and bmp.size[0] > 0)
a, b = list(bmp.convert("RGB").getdata()), list(png.convert("RGB").getdata())
print("differing", sum(1 for p, q in zip(a, b) if p != q) + abs(len(a) - len(b)))
print("colours", len(set(b)))
print("palette", png.getpalette() == bmp.getpalette() and len(bmp.getpalette()) // 3)
depth = lambda path, at: open(path, "rb").read()[at]
print("depth", depth(sys.argv[2], 24), depth(sys.argv[1], 28))
PYTHON
)
fact() { printf '%s\n' "${facts[@]}" | sed -n "s/^$1 //p"; }
check_equal "PIL reads a PNG" "PNG" "$(fact format)"
check_equal "both are indexed" "P P" "$(fact mode)"
check_equal "the same size" "True" "$(fact size)"
check_equal "every pixel the same colour" "0" "$(fact differing)"
check_equal "the graph's three colours" "3" "$(fact colours)"
check_equal "the same colour table, all 16 entries in order" "16" "$(fact palette)"
check_equal "the PNG indexed at the bitmap's depth" "4 4" "$(fact depth)"
[ "$failed" -eq 0 ] || printf '%s\n' "${facts[@]}"
finish
