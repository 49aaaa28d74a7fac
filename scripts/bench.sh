#!/usr/bin/env bash
# Builds and runs the benchmarks (figures only; nothing is asserted).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh bench
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTEMBRA_BUILD_TESTS=OFF -DTEMBRA_BUILD_BENCH=ON >/dev/null
cmake --build build-bench -j"$(nproc)" --target bench_tick bench_colour bench_editor bench_drag
QT_QPA_PLATFORM=offscreen taskset -c 0 build-bench/bench/bench_tick "$@"
QT_QPA_PLATFORM=offscreen taskset -c 0 build-bench/bench/bench_colour "$@"
# The editor's figures need ImageMagick's convert for their 6000 × 4000 JPEG.
QT_QPA_PLATFORM=offscreen taskset -c 0 build-bench/bench/bench_editor "$@"
QT_QPA_PLATFORM=offscreen taskset -c 0 build-bench/bench/bench_drag "$@"
