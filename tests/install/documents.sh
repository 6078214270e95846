#!/usr/bin/env bash
# The installed package documents itself: installs the build BUILD into a
# temporary prefix and checks that the README, every note of docs/ and the
# examples' sources are in share/doc/cbasis1, and that `man cbasis` shows
# the tool's manual page with the prefix on MANPATH.
set -euo pipefail
build=$1
source=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "documents: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
doc=$prefix/share/doc/cbasis1
cmp -s "$source/README.md" "$doc/README.md" || fail "no README.md in $doc"
for note in "$source"/docs/*.md; do
  cmp -s "$note" "$doc/docs/$(basename "$note")" || fail "no docs/$(basename "$note") in $doc"
done
for example in plugin/NotesPlugin.cpp mdi-host/MdiHost.cpp mdi-host/MdiHost.h mdi-host/main.cpp; do
  cmp -s "$source/examples/$example" "$doc/examples/$example" || fail "no examples/$example in $doc"
done

export MANPATH=$prefix/share/man
[ "$(man -w cbasis)" = "$prefix/share/man/man1/cbasis.1" ] || fail "man finds no cbasis page under $MANPATH"
page=$(MANWIDTH=100 man cbasis 2>/dev/null)
# The page holds the texts --help prints: every command's synopsis.
"$prefix/bin/cbasis" --help | sed -n 's/^  \([a-z][a-z-]*\) .*/\1/p' | while read -r command; do
  synopsis=$("$prefix/bin/cbasis" "$command" --help | sed -n '1s/^usage: cbasis //p')
  grep -qF -- "$synopsis" <<<"$page" || fail "the manual page lacks '$synopsis'"
done
echo "documents: installed"
