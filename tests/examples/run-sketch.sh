#!/usr/bin/env bash
# Runs the sketch application headless through its commands: it draws two
# strokes, opens a second window on its document and then its stroke list
# (frame 2, twice: the second time brings it to the front), logs the strokes,
# recolours its panel, reports what its resource script gave it (title, the
# document type's menu, the tool bar, the template's strings, the About box
# cancelled for want of a user, its pen dialog's data exchange both ways and
# its range check), saves, reopens and exits. Then checks what it printed,
# the file it saved, the day's log and the profile it left.
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config CBASIS_DISPLAY=headless
out=$(cd "$work" && "$program" -selftest "$work/one.skt")
expected='selftest: 3 views in 3 frames, the list shows 2 strokes, frame 2 is active
selftest: panel colour 400080, caption "2 logged", drawn
selftest: title "Sketch", menu "&File &Edit &View &Sketch &Window &Help", 10 tool bar items, 4 status bar panes, files "Sketch Files (*.skt)"
selftest: about box 2, pen dialog showed 3 dashed, took 7 solid, refused 12
selftest: saved 2 strokes
selftest: reopened 2 strokes, 1 notes'
[ "$out" = "$expected" ] || { printf 'unexpected output:\n%s\n' "$out" >&2; exit 1; }
# The notes array first: its count as a WORD, then the string's length byte.
printf '\001\000\012new sketch' | cmp -s -n 13 - "$work/one.skt" ||
  { echo "the file does not start with the notes array" >&2; exit 1; }
logs=("$work"/sketch*.LOG)
[ -f "${logs[0]}" ] || { echo "no day log in $work" >&2; exit 1; }
for line in ': 2 strokes in ' 'stroke 10,10-30,20' 'stroke 30,20-50,30'; do
  grep -q -- "$line" "${logs[0]}" || { echo "the log lacks \"$line\"" >&2; exit 1; }
done
# Named after the script's title string, AFX_IDS_APP_TITLE.
profile="$work/config/CBasis1 Examples/Sketch.ini"
grep -q '^File1=.*one\.skt' "$profile" || { echo "no recent file in $profile" >&2; exit 1; }
grep -q '^Maximized=0' "$profile" || { echo "no main frame placement in $profile" >&2; exit 1; }
echo "sketch ok"
