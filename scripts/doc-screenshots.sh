#!/usr/bin/env bash
# Makes the README's pictures: docs/calculator.png (the skinned calculator) and
# docs/message-box.png (the message box it shows for an empty input, skinned too).
# Needs xdotool (apt-get install xdotool), a built calc.exe and the same build's
# tools/screenshot/screenshot.exe (X-side captures of a dialog box come out black under
# Wine; the screen DC has what was painted).
# Usage: scripts/doc-screenshots.sh PREFIX path/to/calc.exe
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="$1"
exe=$2
source "$here/wine-env.sh"
start_wine_session
trap 'kill $pid 2>/dev/null || true; end_wine_session' EXIT
docs="$here/../docs"
mkdir -p "$docs"
title='阶乘排列组合计算'

wine "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
windows() { xdotool search --onlyvisible --name "$title" 2>/dev/null || true; }
all_windows() { xdotool search --onlyvisible --name '.' 2>/dev/null | sort || true; }
for _ in $(seq 100); do [ -n "$(windows)" ] && break; sleep 0.1; done
sleep 1.5
shooter=$(dirname "$exe")/../tools/screenshot/screenshot.exe
shoot() {  # window id, output file: the window with a few pixels of desktop around it
  eval "$(xdotool getwindowgeometry --shell "$1")"
  local bmp; bmp=$(mktemp --suffix=.bmp)
  wine "$shooter" $((X - 8)) $((Y - 8)) $((WIDTH + 16)) $((HEIGHT + 16)) "Z:$bmp" </dev/null >/dev/null 2>&1
  convert "$bmp" "$2"
  rm -f "$bmp"
}
form=$(windows | head -1)
before=$(all_windows)
shoot "$form" "$docs/calculator.png"
# The factorial button with an empty input opens the message box.
eval "$(xdotool getwindowgeometry --shell "$form")"
xdotool mousemove $((X + 160)) $((Y + 217)) click 1
box=
for _ in $(seq 50); do
  box=$(comm -13 <(echo "$before") <(all_windows) | head -1)
  [ -n "$box" ] && break
  sleep 0.1
done
sleep 2
shoot "$box" "$docs/message-box.png"
echo "$docs/calculator.png $docs/message-box.png"
