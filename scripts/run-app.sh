#!/usr/bin/env bash
# Sets up, builds the application (not the tests and benchmarks) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

# Without a display Qt would abort after the build with a message that does
# not say what is missing; say it before building.
if [ -z "${QT_QPA_PLATFORM:-}" ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<'MESSAGE'
PK70App needs a graphical display, and there is none: DISPLAY and WAYLAND_DISPLAY are not set.
Start it from a desktop session, or on a virtual display: xvfb-run -a scripts/run-app.sh
Without a display you can still try the tool:
  scripts/run-tests.sh builds everything and runs every test against the simulated cameras;
  build/sim/camsim/camsim --help (after run-tests.sh) serves a simulated camera on a
  pseudo-terminal for any serial program.
MESSAGE
    exit 1
fi

scripts/setup.sh pk70app
exec build/shell/pk70app "$@"
