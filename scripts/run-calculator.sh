#!/usr/bin/env bash
# Starts the calculator (or another program of the project, such as the gallery) under Wine.
# With a display it opens there and runs until closed; without one it runs on a private Xvfb,
# takes a screenshot once the window titled TITLE has painted, prints the PNG's path
# (PROGRAM-screenshot.png beside the program) and ends the program.
# Usage: run-calculator.sh PREFIX PROGRAM.exe [TITLE]
set -euo pipefail
prefix=$1 exe=$2 title=${3:-阶乘排列组合计算}
here=$(cd "$(dirname "$0")" && pwd)
if [ ! -f "$exe" ]; then
  echo "run-calculator: $exe has not been built" >&2
  exit 1
fi
exe=$(cd "$(dirname "$exe")" && pwd)/$(basename "$exe")
export WINEPREFIX=$prefix
source "$here/wine-env.sh"

if [ -n "${DISPLAY:-}" ]; then
  ensure_prefix
  exec "$WINE_LOADER" "$exe"
fi

# Reuse a session that a test run in the same build folder may have open; end only our own.
session=$(wine_session_dir)
own_session=1
if [ -f "$session/xvfb.pid" ] && kill -0 "$(cat "$session/xvfb.pid")" 2>/dev/null; then
  own_session=0
fi
start_wine_session

shot=$(dirname "$exe")/$(basename "$exe" .exe)-screenshot.png
work=$(mktemp -d)
pid=
finish() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
  if ((own_session)); then end_wine_session; fi
}
trap finish EXIT

wine "$exe" </dev/null >/dev/null 2>&1 &
pid=$!

# The X window of the form carries its caption as its name.
window=
for _ in $(seq 300); do
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "run-calculator: $(basename "$exe") ended before its window appeared" >&2
    exit 1
  fi
  window=$(xwininfo -root -tree 2>/dev/null | awk -v t="\"$title\"" 'index($0, t) { print $1; exit }')
  if [ -n "$window" ] && xwininfo -id "$window" 2>/dev/null | grep -q 'IsViewable'; then break; fi
  window=
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "run-calculator: no window titled $title within 30 s" >&2
  exit 1
fi

# Painting is done when two screenshots a moment apart are the same.
previous=
for i in $(seq 20); do
  sleep 0.25
  xwd -root -silent >"$work/$i.xwd"
  sum=$(md5sum <"$work/$i.xwd")
  [ "$sum" = "$previous" ] && break
  previous=$sum
done
convert "xwd:$work/$i.xwd" "$shot"
echo "$shot"
