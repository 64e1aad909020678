#!/usr/bin/env bash
# Installs what is missing, builds the program (not its tests), and starts
# Korbela Lite under Wine.
set -euo pipefail
. "$(dirname "$0")/common.sh"

"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh" program
ensure_display
trap stop_display EXIT
ensure_wineprefix
managed_windows
log "Starting Korbela Lite on display $DISPLAY (it lives in the notification area; Exit from its tray menu)"
wine "$BUILD/win/bin/korbela.exe" &
pid=$!
# Open the main window once so a first-time user sees it.
sleep 3
wine "$BUILD/win/bin/korbela.exe" || true
wait "$pid"
