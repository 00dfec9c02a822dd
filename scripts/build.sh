#!/usr/bin/env bash
# Installs the packages, then configures and builds into build/: everything,
# or only the targets named in BUILD_TARGETS (blank-separated).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "$@"
targets=()
for target in ${BUILD_TARGETS:-}; do targets+=(--target "$target"); done
cmake --build build "${targets[@]}"
