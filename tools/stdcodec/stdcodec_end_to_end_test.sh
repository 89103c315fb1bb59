#!/usr/bin/env bash
# Runs the built stdcodec binary as a user would: through standard input and
# output, checking its text, its bytes and its exit status.
# Usage: stdcodec_end_to_end_test.sh STDCODEC TESTDATA_DIR
set -u

stdcodec=$1
testdata=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

checks=0
failures=0
current_failed=0

# Marks the current check failed; it counts once however often it fails.
fail() {
  echo "FAIL: $1"
  sed 's/^/  stderr: /' "$work/err"
  if [ "$current_failed" -eq 0 ]; then
    failures=$((failures + 1))
    current_failed=1
  fi
}

# run NAME STATUS INPUT ARGUMENTS...: runs the tool on the file INPUT; its
# output lands in $work/out and $work/err. A sanitizer report always fails,
# since its exit status may look like bad input.
run() {
  local name=$1 expected=$2 input=$3
  shift 3
  current=$name
  current_failed=0
  checks=$((checks + 1))
  "$stdcodec" "$@" <"$input" >"$work/out" 2>"$work/err"
  local status=$?
  if [ "$status" -ne "$expected" ]; then
    fail "$name: exit status $status, expected $expected"
  elif grep -qE 'Sanitizer|runtime error' "$work/err"; then
    fail "$name: sanitizer report"
  fi
}

expect_output() {
  if ! diff -u <(printf '%s' "$1") "$work/out" >"$work/diff"; then
    fail "$current: unexpected output"
    cat "$work/diff"
  fi
}

expect_error_line() {
  if ! grep -qxF -- "$1" "$work/err"; then
    fail "$current: no line '$1' on standard error"
  fi
}

# Normalised hex: one upper-case pair per line.
pairs() {
  tr -s ' \t\n' '\n\n\n' | sed '/^$/d' | tr 'a-f' 'A-F'
}

sample='07 09 72 65 63 6F 67 6E 69 7A 65 0D 01 07 04 70 61 74 68 07 02 61 62'
echo "$sample" >"$work/recognize.hex"
run "dump of the recognize call" 0 "$work/recognize.hex" dump --call --hex
expect_output 'method "recognize"
args map {
  string "path": string "ab"
}
'
cp "$work/out" "$work/recognize.txt"
run "encode of the recognize call" 0 "$work/recognize.txt" encode --call --hex
if [ "$(pairs <"$work/out")" != "$(echo "$sample" | pairs)" ]; then
  fail "encode of the recognize call: bytes differ from the original"
fi

# Every kind, as a value, as call arguments, as a success's result and as an
# error's details: text to bytes, bytes to text to the same bytes, and bytes
# reencoded to the same bytes.
cp "$testdata/every_kind.txt" "$work/value.txt"
{ echo 'method "m\xC3\xA9thode"'; printf 'args '; cat "$testdata/every_kind.txt"; } >"$work/call.txt"
{ printf 'success '; cat "$testdata/every_kind.txt"; } >"$work/success.txt"
{
  echo 'error "ocr_failed"'
  echo 'message "\xC3\x89chec \x00"'
  printf 'details '
  cat "$testdata/every_kind.txt"
} >"$work/error.txt"
for form in value:value call:--call success:--envelope error:--envelope; do
  name=${form%%:*}
  option=${form#*:}
  [ "$option" = value ] && option=
  run "encode of every kind ($name)" 0 "$work/$name.txt" encode $option
  cp "$work/out" "$work/$name.bin"
  run "reencode of every kind ($name)" 0 "$work/$name.bin" reencode $option
  cmp -s "$work/out" "$work/$name.bin" || fail "reencode of every kind ($name): bytes differ"
  run "dump of every kind ($name)" 0 "$work/$name.bin" dump $option
  cp "$work/out" "$work/$name.dumped"
  run "encode of the dump of every kind ($name)" 0 "$work/$name.dumped" encode $option
  cmp -s "$work/out" "$work/$name.bin" || fail "dump and encode of every kind ($name): bytes differ"
done

# Sizes past one and two bytes of the size field.
{
  printf 'list [string "%s", ' "$(head -c 300 /dev/zero | tr '\0' 'a')"
  printf 'string "%s", bytes [' "$(head -c 70000 /dev/zero | tr '\0' 'b')"
  head -c 300 /dev/zero | tr '\0' 'c' | sed 's/c/AB /g'
  printf ']]'
} >"$work/long.txt"
run "encode of long strings" 0 "$work/long.txt" encode --hex
if [ "$(pairs <"$work/out" | head -n 5 | tr '\n' ' ')" != "0C 03 07 FE 2C " ]; then
  fail "encode of long strings: size field of 300 is not FE 2C 01"
fi
run "encode of long strings" 0 "$work/long.txt" encode
cp "$work/out" "$work/long.bin"
run "reencode of long strings" 0 "$work/long.bin" reencode
cmp -s "$work/out" "$work/long.bin" || fail "reencode of long strings: bytes differ"

printf 'not implemented\n' >"$work/not_implemented.txt"
run "encode of not implemented" 0 "$work/not_implemented.txt" encode --envelope --hex
expect_output ''
: >"$work/empty"
run "dump of the empty reply" 0 "$work/empty" dump --envelope
expect_output 'not implemented
'

# Malformed messages: what the codec decoded is shown, its diagnostics pass
# through, and the exit status is 1.
echo '03 05 00' >"$work/truncated.hex"
run "dump of a truncated int32" 1 "$work/truncated.hex" dump --hex
expect_output 'int32 0
'
expect_error_line 'Invalid read in StandardCodecByteStreamReader'
run "reencode of a truncated int32" 1 "$work/truncated.hex" reencode --hex
expect_output '03 00 00 00 00
'

echo '00 01' >"$work/trailing.hex"
run "dump with a trailing byte" 1 "$work/trailing.hex" dump --hex
expect_output 'null
'
expect_error_line 'stdcodec: 1 byte after the value, from offset 1, not decoded: 01'

echo '07 FF FF FF FF FF' >"$work/huge.hex"
run "dump of a string declaring 4 GiB" 1 "$work/huge.hex" dump --hex
expect_output 'string ""
'
expect_error_line 'Invalid read in StandardCodecByteStreamReader'

{ for _ in $(seq 200); do printf '0C 01 '; done; echo 00; } >"$work/deep.hex"
run "dump of lists nested 200 deep" 1 "$work/deep.hex" dump --hex
expect_error_line 'Lists and maps nested too deeply in StandardCodecSerializer::ReadValueOfType'

echo '03 05 00 00 00' >"$work/no_name.hex"
run "dump of a call without a name" 1 "$work/no_name.hex" dump --call --hex
expect_output ''
expect_error_line 'Invalid method call; method name is not a string.'

echo '02' >"$work/unknown_envelope.hex"
run "dump of an unknown envelope" 1 "$work/unknown_envelope.hex" dump --envelope --hex
expect_error_line 'stdcodec: no reply: the envelope byte is 02, neither 00 (success) nor 01 (error)'

# Every cut of a message either decodes or is reported; none crashes.
size=$(wc -c <"$work/call.bin")
for ((cut = 0; cut < size; cut += 13)); do
  head -c "$cut" "$work/call.bin" >"$work/cut.bin"
  run "dump of the first $cut bytes of a call" 1 "$work/cut.bin" dump --call
done

# Bad text and bad hex.
printf 'list [\n  nul\n]\n' >"$work/bad.txt"
run "encode of bad text" 1 "$work/bad.txt" encode
expect_output ''
expect_error_line "stdcodec: line 2, column 3: expected a value (null, bool, int32, int64, double, string, bytes, int32 list, int64 list, double list, float32 list, list or map), found 'nul'"
{ for _ in $(seq 129); do printf 'list ['; done; for _ in $(seq 129); do printf ']'; done; } >"$work/deep.txt"
run "encode of text nested 129 deep" 1 "$work/deep.txt" encode
expect_error_line 'stdcodec: line 1, column 774: lists and maps nested deeper than 128 levels, the most the codec decodes'
printf '07 0g\n' >"$work/bad.hex"
run "dump of bad hex" 1 "$work/bad.hex" dump --hex
expect_error_line "stdcodec: bad hex: line 1, column 5: expected the second hex digit of a byte, found 'g'"

# The command line.
run "help" 0 "$work/empty" --help
grep -q '^Usage: stdcodec COMMAND' "$work/out" || fail "help: no usage line"
run "unknown option" 2 "$work/empty" dump --frobnicate
expect_error_line "stdcodec: unknown option '--frobnicate'"
run "no command" 2 "$work/empty"
expect_error_line 'stdcodec: no command given'
run "unknown command" 2 "$work/empty" decode
run "two commands" 2 "$work/empty" dump encode
run "two message kinds" 2 "$work/empty" encode --call --envelope

echo "stdcodec end to end: $((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
