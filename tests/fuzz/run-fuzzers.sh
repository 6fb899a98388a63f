#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for SECONDS seconds (or
# until FUZZ_RUNS inputs, when set) with inputs up to 64 KiB, starting from its checked-in corpus.
# New interesting inputs go to a scratch corpus under the build directory, never into the repo.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build-fuzz
cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DQUILLON_FUZZ=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
status=0
for target in "$build"/tests/fuzz/*Fuzz; do
  name=$(basename "$target")
  scratch=$build/corpus/$name
  mkdir -p "$scratch"
  echo "== $name ($seconds s)"
  seeds=("$root/tests/fuzz/corpus/$name")
  [ "$name" = PageScannerFuzz ] && seeds+=("$root/tests/data/pages")
  if ! "$target" -max_len=65536 -max_total_time="$seconds" -runs="${FUZZ_RUNS:--1}" -print_final_stats=1 \
       "$scratch" "${seeds[@]}" 2>"$build/$name.log"; then
    status=1
    echo "FINDING in $name: see $build/$name.log"
  fi
  grep -E '^stat::number_of_executed_units|^Done [0-9]+ runs' "$build/$name.log" || true
done
exit $status
