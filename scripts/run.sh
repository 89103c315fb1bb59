#!/usr/bin/env bash
# Installs what is missing, builds the program, and runs the main job: the
# program recognises the text of the images named by the arguments (with no
# argument, the sample images it ships) and prints it. What it installs and
# the build's progress go to standard error; standard output carries the
# job's own output only.
set -euo pipefail

usage() {
  cat <<'USAGE'
Usage: scripts/run.sh [IMAGE...]

Builds photos_norvalis and recognises the text of each IMAGE (PNG, JPEG,
TIFF, BMP, GIF or WebP), one after the other, printing the text to standard
output. With several images each text comes under a header line
"==> IMAGE <==", as head(1) prints several files; a failure is printed to
standard error as "ocr_failed: <reason>". Relative paths are taken from the
current folder; arguments holding "://" are links, not images.

With no IMAGE the program recognises the samples shipped in
build-run/bundle/data/flutter_assets/samples/.

The recognition language follows the user's languages: LANGUAGE, then
LC_ALL, LC_MESSAGES, LANG (for example LANGUAGE=fr for French text), and
English when none of them has OCR data installed.

Examples:
  scripts/run.sh
  scripts/run.sh tests/fixtures/english.png
  LANGUAGE=fr scripts/run.sh page1.png page2.jpg
  scripts/run.sh ./--help        # an image whose name is "--help"
USAGE
}

case "${1:-}" in
  -h | --help)
    usage
    exit 0
    ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
build=build-run

say() {
  echo "run.sh: $*" >&2
}

"$root/scripts/install-deps.sh" run </dev/null

# The build regenerates itself when the project changes, so configuring is
# needed only once.
if [ ! -f "$root/$build/build.ninja" ]; then
  say "configuring the build in $build/"
  mkdir -p "$root/$build"
  if ! (cd "$root" && cmake --preset run) </dev/null >"$root/$build/configure.log" 2>&1; then
    say "configuring failed; the last lines of $build/configure.log:"
    tail -n 20 "$root/$build/configure.log" >&2
    exit 1
  fi
fi

# Ninja shows its progress on one updating line when it writes to a
# terminal, and as plain lines otherwise.
say "building the program"
if ! (cd "$root" && cmake --build --preset run --target photos_norvalis app -j "$(nproc)") \
  </dev/null >&2; then
  say "building failed"
  exit 1
fi

# From the caller's folder, so that relative image paths mean what they say.
exec "$root/$build/bundle/photos_norvalis" "$@"
