#!/usr/bin/env bash
# Runs a Windows program under the build's private Wine session.
# Usage: wine-run.sh PREFIX PROGRAM.exe [ARGS...]   (the emulator of the cross build)
set -euo pipefail
export WINEPREFIX="$1"; shift
source "$(dirname "$0")/wine-env.sh"
start_wine_session
exec "$WINE_LOADER" "$@"
