#!/usr/bin/env bash
# Quillon's one entry point: set-up, build, tests, benchmarks and the demo.
set -euo pipefail
cd "$(dirname "$0")"
ROOT=$(pwd)
BUILD=${QUILLON_BUILD:-$ROOT/build}
CONFIGURE=""
JOBS=${JOBS:-$(nproc)}

# What a fresh Debian 12 machine lacks to build, test and demo Quillon.
PACKAGES=(
  cmake g++ make ninja-build ccache mold pkg-config
  qt6-base-dev qt6-qpa-plugins libqt6svg6 qt6-svg-dev qt6-charts-dev libqt6opengl6-dev
  libsqlite3-dev libcsv-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcpp-httplib-dev libssl-dev openssl
  fonts-dejavu-core fonts-liberation
  poppler-utils locales xvfb x11-utils xdotool
)

# The fuzzing build needs clang and its libFuzzer runtime as well.
FUZZ_PACKAGES=(clang libclang-rt-dev)
# The Debian package needs dpkg-shlibdeps for its dependencies, and is checked by lintian,
# appstreamcli and man.
PACKAGE_PACKAGES=(dpkg-dev file lintian appstream man-db)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

deps() {
  local missing=()
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
  fi
  # Number texts are tested under a locale with a decimal comma.
  locale -a 2>/dev/null | grep -qi '^de_DE.utf-\?8$' || as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8
}

# Configures the build folder once (Ninja where installed, else Make) and builds the targets
# named, or everything.
build() {
  local generator=()
  [ -f "$BUILD/CMakeCache.txt" ] || ! command -v ninja >/dev/null || generator=(-G Ninja)
  cmake -S "$ROOT" -B "$BUILD" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo $CONFIGURE >/dev/null
  local targets=()
  for t in "$@"; do targets+=(--target "$t"); done
  cmake --build "$BUILD" -j "$JOBS" "${targets[@]}"
}

# The programs the demo and the desktop program run, without the tests.
DEMO_PROGRAMS=(quillon-cli quillon-quote-server quillon-demo-settings)
GUI_PROGRAMS=(quillon quillon-quote-server quillon-demo-settings)

run_tests() {
  echo "Testing the build in $BUILD${SANITIZER_NOTE:-}"
  (cd "$BUILD" && ctest --output-on-failure -j "$JOBS" --timeout 900)
  echo "Tested the build in $BUILD${SANITIZER_NOTE:-}"
}

cmd=${1:-help}
shift || true
case "$cmd" in
  deps) deps ;;
  build) deps; build ;;
  test)
    deps
    if [ "${1:-}" = "--sanitize" ]; then
      BUILD=${QUILLON_SANITIZE_BUILD:-$ROOT/build-sanitize}
      CONFIGURE=-DQUILLON_SANITIZE=ON
      SANITIZER_NOTE=" (-fsanitize=address,undefined; ASAN_OPTIONS=${ASAN_OPTIONS:-default}, UBSAN_OPTIONS=${UBSAN_OPTIONS:-default})"
    fi
    build
    run_tests
    ;;
  bench)
    deps; build
    for b in "$BUILD"/bench/*Bench; do
      [ -x "$b" ] || continue
      echo "== $(basename "$b")"
      "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
    done
    ;;
  demo) deps; build "${DEMO_PROGRAMS[@]}"; exec "$ROOT/tools/demo.sh" "$BUILD" ;;
  gui) deps; build "${GUI_PROGRAMS[@]}"; exec "$ROOT/tools/gui.sh" "$BUILD" ;;
  package)
    deps "${PACKAGE_PACKAGES[@]}"; build
    (cd "$BUILD" && cpack)
    deb=$(ls -t "$BUILD"/quillon_*.deb | head -n 1)
    appstreamcli validate --no-net "$ROOT/data/org.quillon.Quillon.metainfo.xml"
    for page in "$ROOT"/data/man/*.1; do
      warnings=$(MANWIDTH=80 man -l --warnings "$page" 2>&1 >/dev/null)
      [ -z "$warnings" ] || { echo "$page: $warnings" >&2; exit 1; }
    done
    lintian "$deb" || true  # the findings are for reading; errors do not stop the package
    echo "Package: $deb"
    ;;
  screenshots) deps; build; exec "$ROOT/tools/screenshots.sh" "$BUILD" ;;
  fuzz) deps "${FUZZ_PACKAGES[@]}"; exec "$ROOT/tests/fuzz/run-fuzzers.sh" "${1:-60}" ;;
  *)
    echo "usage: ./run.sh deps|build|test [--sanitize]|bench|demo|gui|screenshots|package|fuzz [SECONDS]"
    [ "$cmd" = help ] || exit 2
    ;;
esac
