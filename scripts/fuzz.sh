#!/usr/bin/env bash
# Builds the fuzz preset (clang, libFuzzer, ASan and UBSan), replays the
# committed regression corpus fuzz/corpus/ through each target, then runs
# each fuzz target for SECONDS seconds from that corpus and the seeds that
# fuzz/make_seeds.sh writes under build-fuzz/seeds/, on a fresh scratch
# corpus under build-fuzz/. Last, scripts/fuzz-replay.sh replays every
# imaging input (regression corpus, seeds, what the run found) without
# sanitizers, against the program's time and memory bounds. Exits non-zero
# when any target crashes, leaks, trips a sanitizer, times out or exceeds a
# memory limit, or an input exceeds the bounds; the input that did it is kept
# under build-fuzz/fuzz-artifacts/.
#
#   scripts/fuzz.sh SECONDS
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ne 1 ] || ! [[ $1 =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh SECONDS" >&2
  exit 2
fi
seconds=$1

imaging_targets=(image_header_fuzzer jpeg_decoder_fuzzer png_decoder_fuzzer
                 leptonica_decoder_fuzzer page_preparation_fuzzer)
targets=(parse_method_call_fuzzer parse_reply_fuzzer value_round_trip_fuzzer "${imaging_targets[@]}")

cmake --preset fuzz </dev/null >/dev/null
cmake --build --preset fuzz -j "$(nproc)" </dev/null

# Memory limits, meant to fail a run once the code under test holds more than
# 64 MiB:
# - One allocation above 64 MiB fails at once: libFuzzer compares the size
#   asked for, before ASan adds its header and redzones.
# - Resident memory is checked once a second and includes ASan's own share.
#   With the quarantine of freed memory capped at 16 MiB (default 256) and
#   allocation stacks kept to 10 frames (so the stack store stops growing), an
#   idle target settles at 73-80 MB. 64 MiB held by the code under test adds
#   at least 72 MB (1/8 shadow, a header and redzone per block), so 80 + 64 =
#   144 MB is crossed by any such peak, with 64 MB to spare for normal runs.
export ASAN_OPTIONS=quarantine_size_mb=16:malloc_context_size=10:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
codec_limits=(-rss_limit_mb=144 -malloc_limit_mb=64 -timeout=10)
# The decoders may hold a frame of the decoded-size limit (96 MiB) and the
# file (a few KiB here): one allocation above 100 MiB, or resident memory
# above 80 + 100 + 1/8 shadow + redzones, is past what the limits allow. A
# few hundred bytes may declare a frame of that size; a JPEG of one scan
# stops where its data does, but a progressive one is decoded to the end
# from the coefficients it has: seconds under the sanitizers on a loaded
# machine (12 s seen before the one-scan stop), so the time limit is 30 s.
imaging_limits=(-rss_limit_mb=320 -malloc_limit_mb=100 -timeout=30)
# libwebp decodes a lossless WebP into a whole-image buffer of its own before
# Leptonica's frame gets the rows: two frames of up to 96 MiB, 80 + 2 x 100 +
# 1/8 shadow and the quarantine (27 MB seen, over its 16 MiB cap): about
# 330 MB, 327 seen. A third frame would pass 410.
leptonica_limits=(-rss_limit_mb=384 -malloc_limit_mb=100 -timeout=30)
# The page preparation holds the frame, its gray copy when the frame is in
# color, and while it prepares up to two full-size copies more (cut,
# turned, evened out): 3 x 96 MiB at the size limit, plus 1/8 shadow and
# the idle 80, about 440 MB, so 480. Its analysis of a 100-megapixel frame
# takes 0.6 s unsanitized and 12 s under the sanitizers (a scan of restart
# markers only); full-size turns can double that on a loaded machine.
preparation_limits=(-rss_limit_mb=480 -malloc_limit_mb=100 -timeout=60)

scratch=build-fuzz/fuzz-corpus
seeds=build-fuzz/seeds
artifacts=build-fuzz/fuzz-artifacts
logs=build-fuzz/fuzz-logs
rm -rf "$scratch" "$logs"
mkdir -p "$artifacts" "$logs"
fuzz/make_seeds.sh "$seeds"

limits_of() {
  case "$1" in
    page_preparation_fuzzer) limits=("${preparation_limits[@]}") ;;
    leptonica_decoder_fuzzer) limits=("${leptonica_limits[@]}") ;;
    image_* | *_decoder_fuzzer) limits=("${imaging_limits[@]}") ;;
    *) limits=("${codec_limits[@]}") ;;
  esac
}

# Every file of the regression corpus runs once, named one by one, so that a
# failure names it. Seeding from a folder runs every file too (whatever
# -max_total_time says), but cut to -max_len, which is 1 MiB at most when
# not given. The page preparation gets every imaging file, as recognition
# does.
failed=()
for target in "${targets[@]}"; do
  regression=("fuzz/corpus/$target")
  if [ "$target" = page_preparation_fuzzer ]; then
    regression=()
    for other in "${imaging_targets[@]}"; do
      [ ! -d "fuzz/corpus/$other" ] || regression+=("fuzz/corpus/$other")
    done
  fi
  mapfile -d '' inputs < <(find "${regression[@]}" -type f -print0 2>/dev/null | sort -z)
  [ ${#inputs[@]} -ne 0 ] || continue
  limits_of "$target"
  log=$logs/$target.regression.log
  echo "== fuzz: $target: ${#inputs[@]} regression inputs under ASan and UBSan (log: $log)"
  status=0
  "build-fuzz/fuzz/$target" "${limits[@]}" -artifact_prefix="$artifacts/$target-" \
    "${inputs[@]}" </dev/null >"$log" 2>&1 || status=$?
  if [ $status -eq 0 ] && grep -qE 'ERROR: [A-Za-z]+Sanitizer|runtime error:' "$log"; then
    status=1
  fi
  if [ $status -ne 0 ]; then
    input=$(sed -n 's/^Running: //p' "$log" | tail -n 1)
    echo "fuzz: $target FAILED on the regression input ${input:-?} (exit status $status):"
    grep -m 1 -A 25 -E 'ERROR:|runtime error:' "$log" || tail -n 40 "$log"
    failed+=("$target (regression)")
  fi
done

for target in "${targets[@]}"; do
  corpus=$scratch/$target
  log=$logs/$target.log
  mkdir -p "$corpus"
  limits_of "$target"
  seed_dirs=()
  for dir in "fuzz/corpus/$target" "$seeds/$target"; do
    [ ! -d "$dir" ] || seed_dirs+=("$dir")
  done
  echo "== fuzz: $target for ${seconds}s (log: $log)"
  # New inputs go to the scratch corpus, the first directory; the seeds stay
  # as they are.
  status=0
  "build-fuzz/fuzz/$target" -max_total_time="$seconds" "${limits[@]}" \
    -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
    "$corpus" "${seed_dirs[@]}" </dev/null >"$log" 2>&1 || status=$?
  # Every sanitizer finding aborts the run, so one in the log with a zero exit
  # status means the build lost its no-recover flags.
  if [ $status -eq 0 ] && grep -qE 'ERROR: [A-Za-z]+Sanitizer|runtime error:' "$log"; then
    status=1
  fi
  grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" || true
  if [ $status -ne 0 ]; then
    echo "fuzz: $target FAILED (exit status $status):"
    grep -m 1 -A 25 -E 'ERROR:|runtime error:' "$log" || tail -n 40 "$log"
    grep -E 'Test unit written to' "$log" || true
    failed+=("$target")
  fi
done

echo "== fuzz: every imaging input without sanitizers, within 2 s and 320 MiB each"
replay_started=$SECONDS
if ! scripts/fuzz-replay.sh "$artifacts" fuzz/corpus "$seeds" "$scratch" </dev/null; then
  failed+=("the replay without sanitizers")
fi
echo "fuzz: the replay took $((SECONDS - replay_started)) s"

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: failed: ${failed[*]}; reproducers in $artifacts/"
  exit 1
fi
echo "fuzz: ${#targets[@]} targets ran ${seconds}s each without a finding"
