#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit and
# end-to-end tests in a normal and in a sanitizer build, then the Windows cross
# build and a check of what its bundle carries, then each fuzz target for a
# short while, then the Windows tests and the Windows program under Wine.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run test bench fuzz windows

jobs=$(nproc)

# Announces a step and says how long the one before it took.
step_started=$SECONDS
step() {
  echo "== $* (previous step: $((SECONDS - step_started)) s)"
  step_started=$SECONDS
}

for preset in default asan; do
  step "$preset: configure and build"
  cmake --preset "$preset" </dev/null
  cmake --build --preset "$preset" -j "$jobs" </dev/null
  step "$preset: tests"
  ctest --preset "$preset" -j "$jobs" </dev/null
done

step "mingw: configure and build"
cmake --preset mingw </dev/null
cmake --build --preset mingw -j "$jobs" </dev/null
step "mingw: what the Windows bundle carries"
scripts/check-windows-build.sh build-mingw/bundle

step "fuzz"
scripts/fuzz.sh "${NORVALIS_FUZZ_SECONDS:-30}"
step "wine: the Windows tests and the Windows program"
scripts/wine-tests.sh build-mingw
step "all passed"
