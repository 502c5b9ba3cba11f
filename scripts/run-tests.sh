#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite; ends with ctest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure --parallel 2 --timeout 120
