#!/usr/bin/env bash
# Installs what is missing, builds the program and its tests, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
cmake -S . -B build-tests -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTEMBRA_BUILD_TESTS=ON >/dev/null
cmake --build build-tests -j"$(nproc)"
# Tests never see the real home folder or a real display.
export QT_QPA_PLATFORM=offscreen
export XDG_CONFIG_HOME="$(mktemp -d)"
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
ctest --test-dir build-tests --output-on-failure -j"$(nproc)"
