#!/usr/bin/env bash
# Installs what the comparison benchmarks need beyond the build's own
# dependencies (scripts/install-deps.sh): spdlog, the baseline of the log
# benchmarks. The library, its tests and the tool never need it; without it
# bench/ simply leaves those benchmarks out. Does nothing when it is there.
set -euo pipefail
need=()
[ -f /usr/include/spdlog/spdlog.h ] || need+=(libspdlog-dev)
if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then SUDO=; else SUDO=sudo; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${need[@]}" >/dev/null
fi
