#!/usr/bin/env bash
# Starts the calculator under Wine at 96 dpi and at 144 dpi (the LogPixels
# setting of the prefix, put back afterwards) on a screen of 640 x 480 and
# checks what a user sees: at 144 dpi the window is half as large again, and
# where that is wider than the screen it is made to fit, inside the screen.
# Prints "dpi: N passed, M failed" last.
set -uo pipefail
cd "$(dirname "$0")/../.."
source tools/wine-env
screen_width=640
screen_height=480
# A display of its own, for its small screen; Wine is started anew on it.
if [ -z "${TAMSOLO_DPI_DISPLAY:-}" ]; then
  timeout 30 wineserver -w 2>/dev/null
  TAMSOLO_DPI_DISPLAY=1 exec xvfb-run -a -s "-screen 0 ${screen_width}x${screen_height}x24" "$0" "$@"
fi
bin=build/mingw
source tests/win/tools/checks.bash
finish() {
  set_prefix_dpi 96
  summary dpi
  exit
}
trap 'set_prefix_dpi 96' INT TERM

wine_prefix_ready
# run DPI: starts the calculator at DPI, centred (no saved position), and reads
# its window rectangle into rect and its client size and line height into client.
run() {
  set_prefix_dpi "$1"
  sed -i '/^WindowPos[XY]=/d' "$WINEPREFIX/drive_c/windows/win.ini" 2>/dev/null
  "$winecmd" "$bin/tamsolocalc.exe" </dev/null >/dev/null 2>&1 &
  local calc=$!
  rect=()
  client=()
  if drive wait 30 >/dev/null; then
    read -r -a rect < <(drive rect)
    read -r -a client < <(drive client)
    drive close >/dev/null
  fi
  wait "$calc"
}
# about_half_again A B: B is 1.4 to 1.6 times A. Dialog units follow the
# dialog font's cell height, which the font rounds to whole pixels.
about_half_again() { [ $(($2 * 10)) -ge $(($1 * 14)) ] && [ $(($2 * 10)) -le $(($1 * 16)) ]; }

run 96
check "the window appears at 96 dpi" test "${#rect[@]}" -eq 4
[ "${#rect[@]}" -eq 4 ] || finish
read -r x y w96 h96 <<<"${rect[*]}"
read -r cw96 ch96 line96 <<<"${client[*]}"
check "at 96 dpi the window fits the screen as it is" test "$w96" -lt "$screen_width"

run 144
check "the window appears at 144 dpi" test "${#rect[@]}" -eq 4
[ "${#rect[@]}" -eq 4 ] || finish
read -r x y w h <<<"${rect[*]}"
read -r cw ch line <<<"${client[*]}"
check "at 144 dpi the window is inside the screen" \
  test "$x" -ge 0 -a "$y" -ge 0 -a $((x + w)) -le "$screen_width" -a $((y + h)) -le "$screen_height"
check "at 144 dpi the window, too wide for the screen, takes its width" test "$w" -eq "$screen_width"
check "at 144 dpi the window's client area is half as tall again" about_half_again "$ch96" "$ch"
check "at 144 dpi the line is half as tall again" about_half_again "$line96" "$line"
finish
