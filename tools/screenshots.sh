#!/usr/bin/env bash
# Renders every window and dialog of the desktop program to PNG, at 100 % and 200 % scale, on the
# offscreen platform: BUILD_DIR/screenshots/100/*.png and BUILD_DIR/screenshots/200/*.png.
# A control shown smaller than its text needs is listed and makes the script fail.
# The Pass Table window and the Filter dialog's count show a live pass over the first
# $DEMO_SYMBOLS (default 60) symbols of the demo market, made here first in BUILD_DIR/screenshot-pass.
set -euo pipefail
BUILD=$(cd "${1:?usage: tools/screenshots.sh BUILD_DIR}" && pwd)
PROGRAM=$BUILD/quillon
[ -x "$PROGRAM" ] || { echo "no $PROGRAM: build first (./run.sh build)" >&2; exit 1; }
OUT=$BUILD/screenshots
rm -rf "$OUT"

# The pictures' clock: the pass is made on the same day, so its quotes are the day's.
NOW="2026-12-04 15:30:00"
QUILLON_DEMO_DIR=$BUILD/screenshot-pass
DEMO_SYMBOLS=${DEMO_SYMBOLS:-60}
. "$(dirname "$0")/demo-lib.sh"
require "$SERVER_BIN" "$SETTINGS_BIN" "$BUILD/quillon-cli"
fresh_demo_directory
start_server --now "$NOW"
prepare_directory 3
"$BUILD/quillon-cli" run --dir "$DEMO" --source server --now "$NOW" --tick-ms 1 --quiet
stop_server
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
# A screen of a common laptop's size, rather than the offscreen platform's 800 x 600: windows that
# fit themselves to the screen are pictured as a user would see them.
SCREEN=$DEMO/screen.json
printf '{"screens": [{"name": "Screen", "x": 0, "y": 0, "width": 1920, "height": 1200, "logicalDpi": 96}]}\n' >"$SCREEN"
export QT_QPA_PLATFORM=offscreen:configfile=$SCREEN
status=0
for scale in 1 2; do
  dir=$OUT/${scale}00
  echo "== scale ${scale}00 % -> $dir"
  QT_SCALE_FACTOR=$scale "$PROGRAM" --screenshots "$dir" --dir "$DEMO" 2> >(grep -v -e 'does not support' -e 'XDG_RUNTIME_DIR' >&2) || status=1
  ls "$dir"
done
exit $status
