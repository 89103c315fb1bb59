#!/usr/bin/env bash
# Installs what is missing, builds the program, and runs the main job: the
# program recognises the text of the images named by the arguments (with no
# argument, the sample images it ships) and prints it. Installation and build
# output goes to a log; what the user sees is the job's own output.
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
build/bundle/data/flutter_assets/samples/.

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
mkdir -p "$root/build"
log="$root/build/run.log"

if ! (
  cd "$root"
  scripts/install-deps.sh
  cmake --preset default
  cmake --build --preset default --target photos_norvalis app -j "$(nproc)"
) </dev/null >"$log" 2>&1; then
  echo "run.sh: installing or building failed; the last lines of $log:" >&2
  tail -n 20 "$log" >&2
  exit 1
fi

# From the caller's folder, so that relative image paths mean what they say.
exec "$root/build/bundle/photos_norvalis" "$@"
