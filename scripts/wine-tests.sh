#!/usr/bin/env bash
# Runs the Windows test programs of a MinGW build (BUILD_DIR/windows-tests/
# *_tests.exe) under Wine, each once, with Xvfb as the display, in a
# throwaway Wine prefix. Everything it starts is stopped by its own pid or
# prefix when it ends. Exits non-zero when a program fails or cannot run.
#
#   scripts/wine-tests.sh [BUILD_DIR] [-- GTEST_ARGUMENTS...]   # default: build-mingw
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-mingw
if [ $# -gt 0 ] && [ "$1" != "--" ]; then
  build=$1
  shift
fi
[ "${1:-}" != "--" ] || shift
gtest_arguments=("$@")

# Debian's wine64 package has the loader here and no wrapper on the PATH.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver64 || command -v wineserver || echo /usr/lib/wine/wineserver64)
for tool in "$wine" "$wineserver" "$(command -v Xvfb || echo Xvfb)"; do
  if [ ! -x "$tool" ]; then
    echo "wine-tests: $tool is missing (packages wine64 and xvfb)" >&2
    exit 1
  fi
done

programs=("$build"/windows-tests/*_tests.exe)
if [ ! -f "${programs[0]}" ]; then
  echo "wine-tests: no test programs in $build/windows-tests (build the mingw preset)" >&2
  exit 1
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/norvalis-wine.XXXXXX")
export WINEPREFIX=$scratch/prefix
export WINEDEBUG=-all
# No Mono or Gecko: the programs need neither, and their installers would
# wait for a download.
export WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=

stop_everything() {
  # This prefix's server and every process of it, then our own display.
  if [ -d "$WINEPREFIX" ]; then
    timeout 30 "$wineserver" -k 2>/dev/null || true
    timeout 30 "$wineserver" -w 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$scratch"
}
trap stop_everything EXIT

# Xvfb picks a free display and writes its number once it listens.
exec {display_fd}<> <(:)
Xvfb -displayfd "$display_fd" -screen 0 1920x1080x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
display=
if ! read -r -t 30 -u "$display_fd" display || [ -z "$display" ]; then
  echo "wine-tests: Xvfb did not start:" >&2
  cat "$scratch/xvfb.log" >&2
  exit 1
fi
exec {display_fd}<&-
export DISPLAY=:$display

echo "wine-tests: preparing a Wine prefix on display $DISPLAY"
if ! timeout 300 "$wine" wineboot --init >"$scratch/wineboot.log" 2>&1; then
  echo "wine-tests: wineboot failed:" >&2
  cat "$scratch/wineboot.log" >&2
  exit 1
fi
# Xvfb has no window manager, and Wine then takes the X window's next
# configuration for a user's restore: a maximized window raised with
# SetWindowPos ends up restored. Wine managing its windows itself, as
# Windows does, keeps their states.
timeout 60 "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
timeout 120 "$wineserver" -w || true

failures=0
for program in "${programs[@]}"; do
  name=$(basename "$program")
  echo "== wine: $name"
  start=$(date +%s)
  status=0
  timeout --kill-after=10 "${NORVALIS_WINE_TEST_TIMEOUT:-900}" \
    "$wine" "$program" --gtest_color=no "${gtest_arguments[@]}" </dev/null || status=$?
  echo "wine-tests: $name exited with $status after $(($(date +%s) - start)) s"
  if [ "$status" -ne 0 ]; then
    failures=$((failures + 1))
  fi
done

if [ "$failures" -ne 0 ]; then
  echo "wine-tests: $failures of ${#programs[@]} test programs failed" >&2
  exit 1
fi
echo "wine-tests: all ${#programs[@]} test programs passed"
