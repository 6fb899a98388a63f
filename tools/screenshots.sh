#!/usr/bin/env bash
# Renders every window and dialog of the desktop program to PNG, at 100 % and 200 % scale, on the
# offscreen platform: BUILD_DIR/screenshots/100/*.png and BUILD_DIR/screenshots/200/*.png.
# A control shown smaller than its text needs is listed and makes the script fail.
set -euo pipefail
BUILD=${1:?usage: tools/screenshots.sh BUILD_DIR}
PROGRAM=$BUILD/quillon
[ -x "$PROGRAM" ] || { echo "no $PROGRAM: build first (./run.sh build)" >&2; exit 1; }
OUT=$BUILD/screenshots
rm -rf "$OUT"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
status=0
for scale in 1 2; do
  dir=$OUT/${scale}00
  echo "== scale ${scale}00 % -> $dir"
  QT_SCALE_FACTOR=$scale "$PROGRAM" --screenshots "$dir" 2> >(grep -v -e 'does not support' -e 'XDG_RUNTIME_DIR' >&2) || status=1
  ls "$dir"
done
exit $status
