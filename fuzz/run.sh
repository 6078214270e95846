#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++ and runs each for a bounded time
# over its corpus (fuzz/corpus/<target>/: seeds and inputs that once found a
# fault, all re-run first). New inputs go to the build directory; a crash
# leaves its input there and fails the run.
#
#   fuzz/run.sh [--seconds N] [--build-dir DIR] [--build-only | --no-build] [TARGET...]
#
# Targets: parse, type, float, segment, resource, dialog, dib (default: all). --seconds is per target
# (default 10).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
seconds=10
build="$here/../build/fuzz"
mode=all
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --build-dir) build=$2; shift 2 ;;
    --build-only) mode=build; shift ;;
    --no-build) mode=run; shift ;;
    -h|--help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "fuzz/run.sh: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
[ ${#targets[@]} -gt 0 ] || targets=(parse type float segment resource dialog dib)
case "$seconds" in ''|*[!0-9]*) echo "fuzz/run.sh: --seconds needs a whole number" >&2; exit 2 ;; esac

if [ "$mode" != run ]; then
  cxx=${CBASIS_FUZZ_CXX:-clang++}
  command -v "$cxx" >/dev/null || { echo "fuzz/run.sh: $cxx not found (install clang)" >&2; exit 1; }
  # The compilers and flags of the surrounding build are not the fuzzers'.
  env -u CXXFLAGS -u LDFLAGS cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j2
fi
[ "$mode" = build ] && exit 0

# Fontconfig and Cairo keep their caches to the process's end (see the file).
export LSAN_OPTIONS="suppressions=$here/../tests/lsan-display.supp:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
status=0
for t in "${targets[@]}"; do
  fuzzer="$build/${t}_fuzz"
  [ -x "$fuzzer" ] || { echo "fuzz/run.sh: no target '$t' in $build" >&2; exit 2; }
  work="$build/work/$t"
  mkdir -p "$work" "$build/artifacts"
  echo "== $t: ${seconds}s"
  if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" "$work" "$here/corpus/$t" \
      >"$build/$t.log" 2>&1; then
    tail -n 60 "$build/$t.log"
    echo "fuzz/run.sh: $t failed; the input is in $build/artifacts/ (keep it in fuzz/corpus/$t/ once mended)" >&2
    status=1
  else
    grep -E '^stat::number_of_executed_units|^Done' "$build/$t.log" || true
  fi
done
exit $status
