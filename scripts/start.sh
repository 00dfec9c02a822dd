#!/usr/bin/env bash
# Sets everything up and starts Quorlin with the sample templates.
set -euo pipefail
cd "$(dirname "$0")/.."
# The program alone: the tests and benchmarks are built by scripts/test.sh.
BUILD_TARGETS=quorlin bash scripts/build.sh
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting Quorlin under Xvfb." >&2
  exec xvfb-run -a -s "-screen 0 1280x900x24" build/quorlin
fi
exec build/quorlin
