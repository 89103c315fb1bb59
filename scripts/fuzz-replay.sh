#!/usr/bin/env bash
# Replays every input of the imaging fuzz targets' corpora on the targets
# built without sanitizers (preset fuzz-plain, optimised as a release), one
# process per input under GNU time. An input whose process runs longer than
# 2 s, peaks above 320 MiB resident (time's %M) or crashes is a finding: it
# is printed with its time and peak and copied to ARTIFACTS_DIR, and the
# script exits 1. Builds the preset first.
#
#   scripts/fuzz-replay.sh ARTIFACTS_DIR CORPUS_ROOT...
#
# Each CORPUS_ROOT holds a folder per target (fuzz/corpus, the generated
# seeds, a campaign's corpus); a target's folder that a root lacks is
# skipped. page_preparation_fuzzer, which decodes and prepares as
# recognition does, gets every distinct input of every target: any image
# the layer accepts reaches the preparation, where most of the cost lies.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -lt 2 ]; then
  echo "usage: scripts/fuzz-replay.sh ARTIFACTS_DIR CORPUS_ROOT..." >&2
  exit 2
fi
artifacts=$1
shift
roots=("$@")

targets=(image_header_fuzzer jpeg_decoder_fuzzer png_decoder_fuzzer leptonica_decoder_fuzzer
         page_preparation_fuzzer)
# The bounds the program keeps for any image: 2 s and 320 MiB.
max_seconds=2
max_kb=$((320 * 1024))
# An input still running at this point is killed: it is a finding already,
# and a few more seconds tell how far over it is.
kill_seconds=10

cmake --preset fuzz-plain </dev/null >/dev/null
cmake --build --preset fuzz-plain -j "$(nproc)" </dev/null

mkdir -p "$artifacts"
measure=$(mktemp)
trap 'rm -f "$measure"' EXIT

findings=0
started=$SECONDS
for target in "${targets[@]}"; do
  binary=build-fuzz-plain/fuzz/$target
  inputs=0
  slowest=0
  slowest_input=
  fattest=0
  fattest_input=
  folders=()
  for root in "${roots[@]}"; do
    if [ "$target" = page_preparation_fuzzer ]; then
      for other in "${targets[@]}"; do
        [ ! -d "$root/$other" ] || folders+=("$root/$other")
      done
    elif [ -d "$root/$target" ]; then
      folders+=("$root/$target")
    fi
  done
  declare -A seen=()
  if [ ${#folders[@]} -ne 0 ]; then
    while IFS= read -r -d '' input; do
      # A campaign still running replaces inputs by smaller ones.
      [ -f "$input" ] || continue
      sum=$(sha1sum <"$input" 2>/dev/null) || continue
      if [ -n "${seen[$sum]+set}" ]; then
        continue
      fi
      seen[$sum]=1
      inputs=$((inputs + 1))
      # libFuzzer's own limits are off: time and memory are judged here, on
      # the whole process.
      status=0
      timeout -s KILL "$kill_seconds" /usr/bin/time -f '%e %M' -o "$measure" \
        "$binary" -rss_limit_mb=0 -malloc_limit_mb=0 -timeout=0 "$input" \
        </dev/null >/dev/null 2>&1 || status=$?
      seconds=$kill_seconds
      kb=0
      if [ $status -ne 137 ]; then
        read -r seconds kb < <(tail -n 1 "$measure") || true
        if ! [[ $seconds =~ ^[0-9.]+$ && $kb =~ ^[0-9]+$ ]]; then
          echo "fuzz-replay: GNU time measured nothing for $input" >&2
          exit 1
        fi
      fi
      if awk -v s="$seconds" -v m="$slowest" 'BEGIN { exit !(s > m) }'; then
        slowest=$seconds
        slowest_input=$input
      fi
      if [ "$kb" -gt "$fattest" ]; then
        fattest=$kb
        fattest_input=$input
      fi
      why=
      if [ $status -eq 137 ]; then
        why="killed after ${kill_seconds} s"
      elif [ $status -ne 0 ]; then
        why="exit status $status"
      fi
      if awk -v s="$seconds" -v m="$max_seconds" 'BEGIN { exit !(s > m) }'; then
        why="${why:+$why, }over ${max_seconds} s"
      fi
      if [ "$kb" -gt "$max_kb" ]; then
        why="${why:+$why, }over $((max_kb / 1024)) MiB"
      fi
      if [ -n "$why" ]; then
        findings=$((findings + 1))
        echo "fuzz-replay: $target: $input: ${seconds} s, ${kb} KB peak: $why"
        cp "$input" "$artifacts/replay-$target-$(basename "$input")"
      fi
    done < <(find "${folders[@]}" -type f -print0 | sort -z)
  fi
  unset seen
  echo "fuzz-replay: $target: $inputs inputs; slowest ${slowest} s (${slowest_input:-none})," \
    "highest peak ${fattest} KB (${fattest_input:-none})"
done
echo "fuzz-replay: $((SECONDS - started)) s"
if [ $findings -ne 0 ]; then
  echo "fuzz-replay: $findings inputs over ${max_seconds} s or $((max_kb / 1024)) MiB, or crashed;" \
    "copies in $artifacts/"
  exit 1
fi
echo "fuzz-replay: every input within ${max_seconds} s and $((max_kb / 1024)) MiB"
