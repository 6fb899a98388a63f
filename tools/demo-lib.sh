# Shared by demo.sh and gui.sh: a demo program directory served by the stand-in quote server.
# Source it with BUILD set to the build directory.

SERVER_BIN=$BUILD/tools/quote-server/quillon-quote-server
SETTINGS_BIN=$BUILD/tools/quote-server/quillon-demo-settings
DEMO=${QUILLON_DEMO_DIR:-$BUILD/demo}
SERVER_PID=

require() {
  for program in "$@"; do
    [ -x "$program" ] || { echo "missing $program: build first (./run.sh build)" >&2; exit 1; }
  done
}

stop_server() {
  if [ -n "$SERVER_PID" ]; then
    kill "$SERVER_PID" 2>/dev/null || true
    wait "$SERVER_PID" 2>/dev/null || true
    SERVER_PID=
  fi
}

# Starts the server with the demo market on a free loopback port; sets PORT.
start_server() {
  rm -f "$DEMO/server.out"
  "$SERVER_BIN" --port 0 --log "$DEMO/server.log" "$@" >"$DEMO/server.out" &
  SERVER_PID=$!
  trap stop_server EXIT
  trap 'stop_server; exit 130' INT
  trap 'stop_server; exit 143' TERM
  for _ in $(seq 100); do
    PORT=$(head -n 1 "$DEMO/server.out" 2>/dev/null || true)
    [ -n "$PORT" ] && return 0
    sleep 0.1
  done
  echo "the quote server did not start" >&2
  exit 1
}

# A fresh program directory: the demo symbols (the first $DEMO_SYMBOLS of them when that is set)
# plus one the server does not know, settings that point at the server, and the agreement
# accepted. $1: the QVA difference (percentage points) that saves a symbol.
prepare_directory() {
  local symbols=$DEMO/Symbols.sym
  # One reader for the whole file: a pipe that stops reading early (head) would end the writer
  # with SIGPIPE, which pipefail turns into a silent exit of the script.
  awk -F, -v last="${DEMO_SYMBOLS:-0}" 'NR > 1 && (last == 0 || NR <= last + 1) { printf "%s\r\n", $1 }' \
    "$BUILD/tools/quote-server/demo-market.csv" >"$symbols"
  printf 'NOSUCH\r\n' >>"$symbols"
  "$SETTINGS_BIN" "$DEMO" "$PORT" "$symbols" "$1"
}

fresh_demo_directory() {
  rm -rf "$DEMO"
  mkdir -p "$DEMO"
}
