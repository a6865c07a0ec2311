#!/usr/bin/env bash
# Builds everything into build/ and runs the whole test suite: unit tests on
# SDL's offscreen driver, and the window and demo tests under a virtual X
# display.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
ziru_install_deps
ziru_build build
cd build
SDL_VIDEODRIVER=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 300 "$@"
