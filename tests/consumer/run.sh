#!/usr/bin/env bash
# Builds and runs the outside program against the copy installed in PREFIX,
# once through the CMake package and once through pkg-config; then the
# sketch example, written for the original framework, with its resource
# script through the CMake package in a release and a Debug (_DEBUG) build,
# each driven through its commands. Its sources also build through
# pkg-config, which has no resource compiler: that program is not run.
set -euo pipefail
prefix=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The programs run headless whatever display the shell has: this checks the
# installed package, not the display.
export CBASIS_DISPLAY=headless

cmake -S "$here" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake" >/dev/null
"$work/cmake/consumer"

export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
# shellcheck disable=SC2046
g++ "$here/main.cpp" -o "$work/consumer-pc" $(pkg-config --cflags --libs cbasis1)
"$work/consumer-pc"

for type in Release Debug; do
  cmake -S "$here/mfc" -B "$work/mfc-$type" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=$type >/dev/null
  cmake --build "$work/mfc-$type" >/dev/null
  bash "$here/../examples/run-sketch.sh" "$work/mfc-$type/sketch"
done
sketch=$here/../../examples/mfc-sketch
# shellcheck disable=SC2046
g++ -D_DEBUG "$sketch"/*.cpp -o "$work/sketch-pc" $(pkg-config --cflags --libs cbasis1-mfc)
test -s "$prefix/share/doc/cbasis1/docs/porting.md" || { echo "porting.md is not installed" >&2; exit 1; }

# The installed tool opens the installed example plugin, which its help names.
plugin=$("$prefix/bin/cbasis" frame-demo --help | tail -n 1 | sed 's/^ *//')
case $plugin in "$prefix"/*) ;; *) echo "frame-demo names no installed plugin: $plugin" >&2; exit 1 ;; esac
timeout 120 "$prefix/bin/cbasis" frame-demo --headless --profile-dir "$work/profile" --plugin "$plugin" | grep "CNotesFrame with CNotesView" >/dev/null
echo "installed plugin ok"
