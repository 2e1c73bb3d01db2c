#!/usr/bin/env bash
# Makes the README's pictures: docs/calculator.png (the skinned calculator) and
# docs/message-box.png (the message box it shows for an empty input, skinned too).
# Needs xdotool (apt-get install xdotool) and a built calc.exe.
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

wine "$exe" </dev/null >/dev/null 2>/tmp/doc-wine.log &
pid=$!
windows() { xdotool search --onlyvisible --name "$title" 2>/dev/null || true; }
all_windows() { xdotool search --onlyvisible --name '.' 2>/dev/null | sort || true; }
for _ in $(seq 100); do [ -n "$(windows)" ] && break; sleep 0.1; done
sleep 1.5
shoot() {  # window id, output file: the window with a few pixels of desktop around it
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xwd -root -silent | convert xwd:- -crop "$((WIDTH + 16))x$((HEIGHT + 16))+$((X - 8))+$((Y - 8))" "$2"
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
sleep 3; xdotool mousemove $((X + 10)) $((Y + 10)); sleep 1
ps -eo pcpu,comm | grep -i calc >&2 || true
shoot "$box" "$docs/message-box.png"
echo "$docs/calculator.png $docs/message-box.png"
