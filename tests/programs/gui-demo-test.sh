#!/usr/bin/env bash
# The desktop demo as a first-time user meets it: tools/gui.sh prepares a program directory and
# starts the program against the stand-in quote server on a real X server (Xvfb). Enter presses
# Start, one pass runs to its end, Ctrl+Q in the run window ends the program; then the files of
# the pass are checked. Usage: gui-demo-test.sh BUILD_DIR
set -euo pipefail
BUILD=$(cd "${1:?usage: gui-demo-test.sh BUILD_DIR}" && pwd)
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d)
DEMO=$WORK/demo
SYMBOLS=3 # of the demo market, and NOSUCH, which the server does not know
xvfb= gui=

cleanup() {
  [ -z "$gui" ] || kill "$gui" 2>/dev/null || true
  [ -z "$gui" ] || wait "$gui" 2>/dev/null || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  echo "--- tools/gui.sh said:"
  cat "$WORK/gui.log" 2>/dev/null || true
  exit 1
}

# Runs "$@" every 0.2 s until it succeeds, for at most $1 seconds.
wait_for() {
  local seconds=$1
  shift
  for _ in $(seq $((seconds * 5))); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

window_named() { xdotool search --name "$1" >"$WORK/window" 2>/dev/null; }

# Every symbol of the list has been evaluated: it stands in GoodSym.txt or BadSym.txt.
pass_done() {
  [ "$(cat "$DEMO/GoodSym.txt" "$DEMO/BadSym.txt" 2>/dev/null | grep -c .)" -eq $((SYMBOLS + 1)) ]
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
xvfb=$!
wait_for 10 test -s "$WORK/display" || fail "Xvfb did not start: $(cat "$WORK/xvfb.log")"
export DISPLAY=:$(cat "$WORK/display")
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$WORK/runtime
# Under AddressSanitizer, leaks of the system's D-Bus library are not ours to report.
export LSAN_OPTIONS="suppressions=$ROOT/tests/programs/system-leaks.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
mkdir -m 700 "$XDG_RUNTIME_DIR"

QUILLON_DEMO_DIR=$DEMO DEMO_SYMBOLS=$SYMBOLS "$ROOT/tools/gui.sh" "$BUILD" >"$WORK/gui.log" 2>&1 &
gui=$!

# The main window comes up at once: no agreement stands in the way of the prepared settings. Its
# caption names the symbol file and nothing is appended to it.
wait_for 90 window_named "^Welcome to Quillon \\[$DEMO/Symbols\\.sym\\]\$" ||
  fail "no main window captioned for $DEMO/Symbols.sym: $(xdotool search --name . getwindowname %@ 2>&1)"
xdotool windowfocus --sync "$(head -n 1 "$WORK/window")" key Return
wait_for 10 window_named '^Tracing \[' || fail "Enter did not open the run window"
wait_for 60 pass_done || fail "the pass did not end within 60 s"
sleep 0.5 # the pass's last status texts
xdotool windowfocus --sync "$(head -n 1 "$WORK/window")" key ctrl+q
status=0
wait_for 20 bash -c "! kill -0 $gui 2>/dev/null" || fail "Ctrl+Q in the run window did not end the program"
wait "$gui" || status=$?
gui=
[ "$status" -eq 0 ] || fail "tools/gui.sh ended with status $status"

# The files of the pass: every symbol judged, the unknown one without quotes, the quotes cached,
# and the settings still those the demo prepared.
expected=$(tr -d '\r' <"$DEMO/Symbols.sym" | sort)
judged=$(cat "$DEMO/GoodSym.txt" "$DEMO/BadSym.txt" | tr -d '\r' | cut -d ' ' -f 1 | sort)
[ "$judged" = "$expected" ] || fail "judged symbols: $judged; expected: $expected"
grep -q '^NOSUCH\b' "$DEMO/BadSym.txt" || fail "NOSUCH is not in BadSym.txt"
for symbol in $(tr -d '\r' <"$DEMO/GoodSym.txt" | cut -d ' ' -f 1); do
  grep -q "<STOCK>$symbol\"" "$DEMO/Quote.txt" || fail "no quotes of $symbol in Quote.txt"
done
port=$(head -n 1 "$DEMO/server.out")
grep -q "^\"127.0.0.1\"" "$DEMO/Quillon.---" && grep -q "^$port"$'\r'"\$" "$DEMO/Quillon.---" ||
  fail "the settings no longer name the demo server 127.0.0.1:$port"
[ -f "$DEMO/Results.txt" ] || fail "no Results.txt"
echo "The demo ran one pass over $((SYMBOLS + 1)) symbols and ended with Ctrl+Q."
