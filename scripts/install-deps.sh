#!/usr/bin/env bash
# Installs the Debian packages that the named purposes need, and only those
# that are missing. Safe to run again; with nothing missing it asks no one.
#
#   scripts/install-deps.sh PURPOSE...
#
#   run      build the program and recognise images (compiler, CMake, Ninja,
#            Tesseract and Leptonica with English and French data, image
#            libraries)
#   test     the unit and end-to-end tests (GoogleTest, ImageMagick and the
#            DejaVu and Liberation fonts for the photographed pages and
#            the screenshots)
#   bench    the benchmarks (Google Benchmark, the tesseract tool, GNU time,
#            valgrind, Python for the error rates)
#   fuzz     the fuzz targets (clang, its runtime library and lld), the
#            encoders their seeds are made with (ImageMagick, libtiff,
#            libjpeg-turbo, libwebp and giflib tools, the DejaVu and
#            Liberation fonts, Python) and GNU time for the replay with
#            cost limits
#   windows  the Windows build and its tests (MinGW-w64, Wine, Xvfb)
#
# Without root and without sudo it prints the command to run as root and
# exits 1. Progress and messages go to standard error.
set -euo pipefail

usage() {
  sed -n '5,20s/^# \{0,1\}//p' "$0" >&2
}

if [ $# -eq 0 ]; then
  usage
  exit 2
fi

declare -A purpose_packages=(
  [run]="cmake ninja-build g++ pkg-config libtesseract-dev libleptonica-dev libpng-dev
         libjpeg-dev tesseract-ocr-eng tesseract-ocr-fra tesseract-ocr-osd"
  [test]="libgtest-dev libgmock-dev imagemagick fonts-dejavu-core fonts-liberation2"
  [bench]="libbenchmark-dev tesseract-ocr time valgrind python3"
  [fuzz]="clang lld time imagemagick fonts-dejavu-core fonts-liberation2 libtiff-tools
          libjpeg-turbo-progs webp giflib-tools python3"
  [windows]="g++-mingw-w64-x86-64-posix wine64 xvfb"
)
declare -A purpose_reason=(
  [run]="to build and run the program"
  [test]="for the tests"
  [bench]="for the benchmarks"
  [fuzz]="for fuzzing"
  [windows]="for the Windows build and its tests"
)

for purpose in "$@"; do
  if [ -z "${purpose_packages[$purpose]+set}" ]; then
    echo "install-deps.sh: unknown purpose '$purpose'" >&2
    usage
    exit 2
  fi
done

# One dpkg-query for every package asked: the installed ones among them.
installed_of() {
  dpkg-query -W -f='${db:Status-Status} ${Package}\n' "$@" 2>/dev/null |
    sed -n 's/^installed \([^:]*\).*/\1/p' || true
}

# The major version of the clang that the "clang" package stands for: from
# the installed package, or else from the package index.
clang_major() {
  local depends
  depends=$(dpkg-query -W -f='${db:Status-Status} ${Depends}\n' clang 2>/dev/null |
    sed -n 's/^installed //p' || true)
  if [ -z "$depends" ]; then
    depends=$(apt-cache depends clang 2>/dev/null | sed -n 's/^ *Depends: //p' || true)
  fi
  grep -oE '\bclang-[0-9]+\b' <<<"$depends" | head -n 1 | cut -d - -f 2
}

# clang's sanitizer and libFuzzer runtime: its package name carries clang's
# major version, which differs between Debian releases.
clang_runtime() {
  local major
  major=$(clang_major)
  if [ -z "$major" ]; then
    echo "install-deps.sh: the package index names no clang version" >&2
    return 1
  fi
  if ! dpkg-query -W "libclang-rt-$major-dev" >/dev/null 2>&1 &&
     ! apt-cache show "libclang-rt-$major-dev" >/dev/null 2>&1; then
    echo "install-deps.sh: the package index has clang $major but no libclang-rt-$major-dev" >&2
    return 1
  fi
  echo "libclang-rt-$major-dev"
}

# Which packages each purpose lacks, given what is installed; sets `missing`
# (all of them) and prints each purpose's share with its reason.
missing=()
find_missing() {
  local wanted=() purpose package present
  missing=()
  for purpose in "$@"; do
    # shellcheck disable=SC2206
    wanted+=(${purpose_packages[$purpose]})
  done
  present=" $(installed_of "${wanted[@]}" | tr '\n' ' ') "
  for purpose in "$@"; do
    local lacking=()
    for package in ${purpose_packages[$purpose]}; do
      if [[ $present != *" $package "* && " ${missing[*]} " != *" $package "* ]]; then
        lacking+=("$package")
      fi
    done
    if [ ${#lacking[@]} -ne 0 ]; then
      echo "install-deps.sh: ${purpose_reason[$purpose]}: ${lacking[*]}" >&2
      missing+=("${lacking[@]}")
    fi
  done
}

wants_fuzz=0
for purpose in "$@"; do
  [ "$purpose" != fuzz ] || wants_fuzz=1
done

# Names clang's runtime for the fuzz purpose; fails while neither the
# installed packages nor the package index tell clang's version.
resolve_fuzz() {
  local runtime
  runtime=$(clang_runtime) || return 1
  purpose_packages[fuzz]+=" $runtime"
}

resolved=1
if [ $wants_fuzz = 1 ]; then
  resolve_fuzz 2>/dev/null || resolved=0
fi
find_missing "$@"
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

# What to run as root by hand when this script cannot.
print_root_command() {
  if [ $resolved = 1 ]; then
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}" >&2
  else
    # clang's runtime is named only once the package index is there.
    echo "  $(cd "$(dirname "$0")" && pwd)/$(basename "$0") $*" >&2
  fi
}

apt=(apt-get)
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps.sh: not root and no sudo; as root, run:" >&2
    print_root_command "$@"
    exit 1
  fi
  apt=(sudo apt-get)
fi

export DEBIAN_FRONTEND=noninteractive
echo "install-deps.sh: updating the package index" >&2
if ! "${apt[@]}" update -q </dev/null >&2; then
  echo "install-deps.sh: apt-get update failed; as root, run:" >&2
  print_root_command "$@"
  exit 1
fi
if [ $resolved = 0 ]; then
  resolve_fuzz || exit 1
  find_missing "$@"
fi
echo "install-deps.sh: installing ${missing[*]}" >&2
"${apt[@]}" install -y -q --no-install-recommends "${missing[@]}" </dev/null >&2
