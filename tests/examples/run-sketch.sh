#!/usr/bin/env bash
# Runs the sketch application headless through its commands: it draws two
# strokes, opens a second window on its document, saves, reopens and exits.
# Then checks what it printed, the file it saved and the profile it left.
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config CBASIS_DISPLAY=headless
out=$(cd "$work" && "$program" -selftest "$work/one.skt")
expected="selftest: saved 2 strokes with 2 views
selftest: reopened 2 strokes, 1 notes"
[ "$out" = "$expected" ] || { echo "unexpected output: $out" >&2; exit 1; }
# The notes array first: its count as a WORD, then the string's length byte.
printf '\001\000\012new sketch' | cmp -s -n 13 - "$work/one.skt" ||
  { echo "the file does not start with the notes array" >&2; exit 1; }
profile="$work/config/CBasis1 Examples/$(basename "$program").ini"
grep -q '^File1=.*one\.skt' "$profile" || { echo "no recent file in $profile" >&2; exit 1; }
echo "sketch ok"
