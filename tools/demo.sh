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
echo
if [ "$status" -ne 0 ]; then
  echo "The run ended with status $status."
  exit "$status"
fi

good=$(grep -c . "$DEMO/GoodSym.txt" 2>/dev/null || true)
bad=$(grep -c . "$DEMO/BadSym.txt" 2>/dev/null || true)
echo "Symbols with quotes: ${good:-0}; without: ${bad:-0} (see GoodSym.txt, BadSym.txt)."
echo "Saved symbols (SavedSym.txt):"
if [ -s "$DEMO/SavedSym.txt" ]; then
  tr -d '\r' <"$DEMO/SavedSym.txt"
else
  echo "  (none saved)"
fi
echo
echo "Results report: $DEMO/Results.txt"
echo "Quote cache:    $DEMO/Quote.txt (replay it: $CLI run --dir $DEMO --source local)"
