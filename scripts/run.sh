#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: here, the message
# codec tool decoding a sample "recognize" call and encoding it back.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default </dev/null >/dev/null
cmake --build --preset default -j "$(nproc)" </dev/null >/dev/null

stdcodec=build/bundle/tools/stdcodec
sample='07 09 72 65 63 6F 67 6E 69 7A 65 0D 01 07 04 70 61 74 68 07 02 61 62'

echo "A \"recognize\" call on norvalis/ocr, as bytes:"
echo "  $sample"
echo "Decoded by: $stdcodec dump --call --hex"
text=$(echo "$sample" | "$stdcodec" dump --call --hex)
echo "$text" | sed 's/^/  /'
echo "Encoded back by: $stdcodec encode --call --hex"
echo "$text" | "$stdcodec" encode --call --hex | sed 's/^/  /'
