#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit and
# end-to-end tests in a normal and in a sanitizer build, then the Windows cross
# build and a check of what its bundle carries, then each fuzz target for a
# short while when clang is present, then the Windows tests under Wine. Exits
# non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)

for preset in default asan; do
  echo "== $preset: configure and build"
  cmake --preset "$preset" </dev/null
  cmake --build --preset "$preset" -j "$jobs" </dev/null
  echo "== $preset: tests"
  ctest --preset "$preset" -j "$jobs" </dev/null
done

echo "== mingw: configure and build"
if ! command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1; then
  echo "test.sh: the MinGW-w64 compiler (g++-mingw-w64-x86-64-posix) is missing" >&2
  exit 1
fi
cmake --preset mingw </dev/null
cmake --build --preset mingw -j "$jobs" </dev/null
echo "== mingw: what the Windows bundle carries"
scripts/check-windows-build.sh build-mingw/bundle

if command -v clang++ >/dev/null 2>&1; then
  echo "== fuzz"
  scripts/fuzz.sh "${NORVALIS_FUZZ_SECONDS:-30}"
fi

echo "== wine: the Windows tests and the Windows program"
scripts/wine-tests.sh build-mingw
