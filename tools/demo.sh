#!/usr/bin/env bash
# One live pass of the screener over the demo market, served by the stand-in quote server on this
# machine. Usage: tools/demo.sh BUILD_DIR
set -euo pipefail
BUILD=$(cd "${1:?usage: tools/demo.sh BUILD_DIR}" && pwd)
. "$(dirname "$0")/demo-lib.sh"

CLI=$BUILD/quillon-cli
TICK_MS=5
require "$SERVER_BIN" "$SETTINGS_BIN" "$CLI"
fresh_demo_directory
start_server
prepare_directory 3
count=$(grep -c . "$DEMO/Symbols.sym")

echo "Quote server: http://127.0.0.1:$PORT/ (made-up demo market; request log in $DEMO/server.log)"
echo "Program directory: $DEMO"
echo "Live pass over $count symbols. The timer tick is shortened from 100 ms to $TICK_MS ms, so the"
echo "one-second settle time between requests takes $((TICK_MS * 10)) ms."
echo
status=0
"$CLI" run --dir "$DEMO" --source server --tick-ms "$TICK_MS" || status=$?
[ "$status" -eq 0 ] || exit "$status"

echo
echo "Saved symbols (SavedSym.txt):"
if [ -s "$DEMO/SavedSym.txt" ]; then
  tr -d '\r' <"$DEMO/SavedSym.txt"
else
  echo "  (none saved)"
fi
echo
echo "Results report: $DEMO/Results.txt"
echo "Replay the quote cache with other settings: $CLI run --dir $DEMO --source local"
