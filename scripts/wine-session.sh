#!/usr/bin/env bash
# Runs a command inside a private Wine session that lasts for the command's time:
# a prefix, a display and one persistent wineserver, all ended afterwards.
# Usage: wine-session.sh PREFIX COMMAND [ARGS...]
set -Eeuo pipefail
export WINEPREFIX="$1"; shift
source "$(dirname "$0")/wine-env.sh"
# Set-up failures end the script (set -e); say where, instead of ending silently.
trap 'echo "wine-session: setting up the Wine session failed (line $LINENO of wine-env.sh or here)" >&2' ERR
start_wine_session
trap - ERR
trap end_wine_session EXIT
"$@"
