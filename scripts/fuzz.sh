#!/usr/bin/env bash
# Builds the fuzz preset (clang, libFuzzer) and runs each fuzz target for
# SECONDS seconds from its seed corpus in fuzz/corpus/, on a fresh scratch
# corpus under build-fuzz/. Exits non-zero when any target crashes, leaks,
# trips a sanitizer, times out or exceeds a memory limit; the input that did
# it is kept under build-fuzz/fuzz-artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -ne 1 ] || ! [[ $1 =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/fuzz.sh SECONDS" >&2
  exit 2
fi
seconds=$1

targets=(parse_method_call_fuzzer parse_reply_fuzzer value_round_trip_fuzzer
         image_header_fuzzer jpeg_decoder_fuzzer png_decoder_fuzzer leptonica_decoder_fuzzer)

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

scratch=build-fuzz/fuzz-corpus
artifacts=build-fuzz/fuzz-artifacts
logs=build-fuzz/fuzz-logs
rm -rf "$scratch" "$logs"
mkdir -p "$artifacts" "$logs"

failed=()
for target in "${targets[@]}"; do
  corpus=$scratch/$target
  log=$logs/$target.log
  mkdir -p "$corpus"
  limits=("${codec_limits[@]}")
  case "$target" in
    image_* | *_decoder_fuzzer) limits=("${imaging_limits[@]}") ;;
  esac
  echo "== fuzz: $target for ${seconds}s (log: $log)"
  # New inputs go to the scratch corpus, the first directory; the seeds stay
  # as they are.
  status=0
  "build-fuzz/fuzz/$target" -max_total_time="$seconds" "${limits[@]}" \
    -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
    "$corpus" "fuzz/corpus/$target" </dev/null >"$log" 2>&1 || status=$?
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

if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzz: failed: ${failed[*]}; reproducers in $artifacts/"
  exit 1
fi
echo "fuzz: ${#targets[@]} targets ran ${seconds}s each without a finding"
