#!/usr/bin/env bash
# Runs a command inside a private Wine session that lasts for the command's time:
# a prefix, a display and one persistent wineserver, all ended afterwards.
# Usage: wine-session.sh PREFIX COMMAND [ARGS...]
set -euo pipefail
export WINEPREFIX="$1"; shift
source "$(dirname "$0")/wine-env.sh"
start_wine_session
trap end_wine_session EXIT
"$@"
