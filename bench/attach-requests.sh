#!/usr/bin/env bash
# Counts the window-server requests that attaching the control skinners makes, per skinner:
# attach_bench runs under a wineserver that traces every request (-d1), and the requests
# its thread makes between the bench's two markers (atoms looked up by name) are counted.
# Usage: bench/attach-requests.sh PREFIX BUILD_DIR   (BUILD_DIR: build/win32)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
prefix=$1
build=$(cd "$2" && pwd)
trace=$(mktemp)
output=$(mktemp)
trap 'rm -f "$trace" "$output"' EXIT
# Inside the session: its persistent server is replaced by a tracing one for the bench.
"$here/scripts/wine-session.sh" "$prefix" bash -c '
  source "$0/scripts/wine-env.sh"
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  setsid "$WINE_SERVER" -f -d1 2>"$1" </dev/null >/dev/null &
  server=$!
  sleep 1
  wine "$2/bench/attach_bench.exe" >"$3" 2>/dev/null </dev/null
  wineserver -k >/dev/null 2>&1 || true
  wait $server 2>/dev/null || true' "$here" "$trace" "$build" "$output"
cat "$output"
skinners=$(awk '/attach_bench: 300 controls/ {print $4; exit}' "$output")
# Requests are traced as "TTTT: name( ... )", their replies as "TTTT: name() = ...".
awk -v skinners="$skinners" '
  /attach_bench: attach begins/ { thread = $1; counting = 1; next }
  counting && /attach_bench: attach ends/ { counting = 0; done = 1; exit }
  counting && $1 == thread && $2 ~ /^[a-z_]+\($/ { ++requests; ++by_name[substr($2, 1, length($2) - 1)] }
  END {
    if (!done || skinners == 0) { print "attach-requests: no marked attach in the trace"; exit 1 }
    printf "  window-server requests of one attach: %d, %.2f per skinner\n", requests, requests / skinners
    for (name in by_name) printf "    %-28s %d\n", name, by_name[name] | "sort -k2,2nr"
  }' "$trace"
