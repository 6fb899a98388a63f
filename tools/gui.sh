#!/usr/bin/env bash
# The desktop program on a demo program directory, with the stand-in quote server running behind
# it until the program ends. Usage: tools/gui.sh BUILD_DIR
# QUILLON_DEMO_DIR names another program directory than BUILD_DIR/demo (it is emptied first);
# DEMO_SYMBOLS=N keeps only the first N symbols of the demo market.
set -euo pipefail
BUILD=$(cd "${1:?usage: tools/gui.sh BUILD_DIR}" && pwd)
. "$(dirname "$0")/demo-lib.sh"

APP=$BUILD/quillon
require "$SERVER_BIN" "$SETTINGS_BIN" "$APP"
fresh_demo_directory
start_server
prepare_directory 3
echo "Quote server: http://127.0.0.1:$PORT/ (request log in $DEMO/server.log)"
echo "Program directory: $DEMO"
"$APP" --dir "$DEMO" &
app=$!
# A signal to this script ends the program as closing its windows would; the server stops after it.
trap 'kill -TERM "$app" 2>/dev/null || true' INT TERM
status=0
while true; do
  wait "$app" && status=0 || status=$?
  kill -0 "$app" 2>/dev/null || break
done
exit "$status"
