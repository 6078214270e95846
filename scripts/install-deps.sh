#!/usr/bin/env bash
# Installs what the build and tests need beyond the machine's toolchain.
# Does nothing when everything is present already.
set -euo pipefail
need=()
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
command -v pkg-config >/dev/null || need+=(pkg-config)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev libgmock-dev)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
# clang++ and its libFuzzer runtime, for the fuzz targets.
command -v clang++ >/dev/null || need+=(clang)
compgen -G '/usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a' >/dev/null || need+=(libclang-rt-dev)
# The house-style checks of .ci/run: git clang-format and clang-tidy-diff.
command -v git-clang-format >/dev/null || need+=(clang-format)
command -v clang-tidy-diff >/dev/null || need+=(clang-tidy)
# man, for the test that the installed manual page opens.
command -v man >/dev/null || need+=(man-db)
# Cairo (with fontconfig), for the PNG pictures of the headless window tree.
pkg-config --exists cairo fontconfig 2>/dev/null || need+=(libcairo2-dev)
# Pango, which lays out the text drawn with Cairo.
pkg-config --exists pangocairo 2>/dev/null || need+=(libpango1.0-dev)
# A font for the text in those pictures.
{ command -v fc-list >/dev/null && [ -n "$(fc-list 2>/dev/null)" ]; } || need+=(fonts-dejavu-core)
# GTK 3 for the display module, and for the display tests an X server
# (Xvfb) and XTEST input.
pkg-config --exists gtk+-3.0 2>/dev/null || need+=(libgtk-3-dev)
command -v Xvfb >/dev/null || need+=(xvfb)
[ -f /usr/include/X11/extensions/XTest.h ] || need+=(libxtst-dev)
# binutils' resource compiler, for the resource scripts of hosts and tests.
command -v x86_64-w64-mingw32-windres >/dev/null || need+=(binutils-mingw-w64-x86-64)
# Another program on the clipboard, and a window manager to maximize with.
command -v xclip >/dev/null || need+=(xclip)
command -v openbox >/dev/null || need+=(openbox)
command -v wmctrl >/dev/null || need+=(wmctrl)
# What the window-manager tests read of the X server, and XTEST from a shell.
command -v xwininfo >/dev/null && command -v xprop >/dev/null || need+=(x11-utils)
command -v xdotool >/dev/null || need+=(xdotool)
if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then SUDO=; else SUDO=sudo; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}" >/dev/null
fi
