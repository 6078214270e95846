#!/usr/bin/env bash
# The house style on what a change touched: the layout of every changed line
# (.clang-format, through git clang-format) and the naming rules of
# .clang-tidy on the changed lines (clang-tidy-diff), against BASE (default:
# the merge base with main). Lines nobody touched are not judged, so older
# code that predates a rule does not fail a change. Needs the compile
# commands of build/default (cmake --preset default writes them).
set -euo pipefail
cd "$(dirname "$0")/.."
base=${1:-$(git merge-base HEAD main)}
# The wizard-style example keeps its own layout: it is written as hosts write theirs.
paths=(src tools tests examples bench fuzz ':!tools/cbasis/sample' ':!examples/mfc-sketch')

layout=$(git clang-format --diff --extensions cpp,h "$base" -- "${paths[@]}")
case $layout in
  "" | "no modified files to format" | "clang-format did not modify any files") ;;
  *)
    printf '%s\n' "$layout"
    echo "style: the lines above are not laid out as .clang-format says; 'git clang-format $base' lays them out" >&2
    exit 1
    ;;
esac

# One banner style for sections: "// ---- Title ----", dashes to about column 80.
banners=$(git diff -U0 "$base" -- "${paths[@]}" | grep -E '^\+// -{4}' | grep -vE '^\+// ---- [^ -].* -{4,}$' || true)
if [ -n "$banners" ]; then
  printf '%s\n' "$banners"
  echo "style: a section banner is one line, '// ---- Title ----' (docs/style.md)" >&2
  exit 1
fi

[ -f build/default/compile_commands.json ] || cmake --preset default >/dev/null
names=$(git diff -U0 "$base" -- "${paths[@]}" |
  clang-tidy-diff -p1 -path build/default -iregex '.*\.(cpp|h)' -quiet -j 2 2>&1 || true)
if grep -q 'error:' <<<"$names"; then
  grep -E 'error:|^ ' <<<"$names" >&2
  echo "style: names on the lines above break the rules of .clang-tidy (docs/style.md)" >&2
  exit 1
fi
echo "style: the changed lines keep the house style"
