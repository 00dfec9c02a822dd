#!/usr/bin/env bash
# Sets everything up, builds and runs the whole test suite headless,
# then the benchmarks in a short mode.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
unset DISPLAY WAYLAND_DISPLAY
(cd build && ctest --output-on-failure -j"$(nproc)" --timeout 300)
if [ -x build/bench/quorlin_bench ]; then
  build/bench/quorlin_bench --benchmark_min_time=0.01 --benchmark_color=false
fi
