#!/usr/bin/env bash
# Starts the calculator under Wine. With a display it opens there and runs until closed;
# without one it runs on a private Xvfb, takes a screenshot once the window is up,
# prints the PNG's path and ends the program.
set -euo pipefail
prefix=$1 exe=$2
here=$(cd "$(dirname "$0")" && pwd)
if [ -n "${DISPLAY:-}" ]; then
  exec "$here/wine-run.sh" "$prefix" "$exe"
fi
export WINEPREFIX=$prefix
source "$here/wine-env.sh"
ensure_display
ensure_prefix
ensure_wineserver
trap end_wine_session EXIT
shot=$(cd "$(dirname "$exe")" && pwd)/calc-screenshot.png
wine "$exe" </dev/null >/dev/null 2>&1 &
pid=$!
# Wait for the calculator's window to appear, then give it a moment to paint.
for _ in $(seq 100); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"'; then
    xwininfo -root -tree | grep -q -i 'calc\|阶乘' && break
  fi
  sleep 0.1
done
sleep 1.5
xwd -root -silent | convert xwd:- "$shot"
kill $pid 2>/dev/null || true
echo "$shot"
