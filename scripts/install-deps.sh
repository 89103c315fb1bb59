#!/usr/bin/env bash
# Installs the Debian packages the build, tests, benchmarks, fuzzing, OCR and
# the Windows cross build need, and only those that are missing. Safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build g++
  libgtest-dev libgmock-dev
  libbenchmark-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix
  pkg-config libtesseract-dev libleptonica-dev libpng-dev libjpeg-dev
  tesseract-ocr tesseract-ocr-eng tesseract-ocr-fra
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q </dev/null
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
