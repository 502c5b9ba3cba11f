#!/usr/bin/env bash
# Sets up, builds and starts the application.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec build/shell/pk70app "$@"
