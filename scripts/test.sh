#!/usr/bin/env bash
# Sets everything up, builds and runs the whole test suite headless, then the
# benchmarks in a short mode, then the tests again under the address and
# undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
unset DISPLAY WAYLAND_DISPLAY
(cd build && ctest --output-on-failure -j"$(nproc)" --timeout 300)
QUORLIN_BENCH_PICTURES=40 build/bench/quorlin_bench --benchmark_min_time=0.01 --benchmark_color=false

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORLIN_SANITIZE=ON -DQUORLIN_BENCH=OFF
cmake --build build-asan
# The browser engine's own code trips the type-mismatch check and keeps its
# memory to the end; neither is ours to report.
export ASAN_OPTIONS=detect_leaks=0:new_delete_type_mismatch=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
(cd build-asan && ctest --output-on-failure -j"$(nproc)" --timeout 300)
