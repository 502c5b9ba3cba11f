#!/usr/bin/env bash
# Without a display, scripts/run-app.sh and the application itself end at once
# with a plain message (what is missing, how to try the tool without it) and
# a non-zero exit code, never with Qt's abort.
# Usage: no_display_test.sh <source dir> <pk70app>
set -uo pipefail
source_dir=$1
application=$2

# Should the script go past its check, these stand in for the tools the
# set-up would run, so that the test never installs or builds anything.
stubs=$(mktemp -d)
trap 'rm -rf "$stubs"' EXIT
for tool in apt-get sudo cmake dpkg-query; do
    printf '#!/bin/sh\necho "run-app.sh went on to run %s" >&2\nexit 3\n' "$tool" >"$stubs/$tool"
    chmod +x "$stubs/$tool"
done

failures=0
check() {
    local what=$1
    shift
    local output status
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM PATH="$stubs:$PATH" timeout 60 "$@" 2>&1)
    status=$?
    echo "--- $what (exit $status)"
    echo "$output"
    local problems=()
    ((status != 0)) || problems+=("exit code 0")
    ((status != 124)) || problems+=("did not end within 60 s")
    for expected in "needs a graphical display" "DISPLAY" "WAYLAND_DISPLAY" "xvfb-run" "camsim" "scripts/run-tests.sh"; do
        grep -qF -- "$expected" <<<"$output" || problems+=("no \"$expected\" in the message")
    done
    for unexpected in "Reinstalling" "went on to run"; do
        grep -qF -- "$unexpected" <<<"$output" && problems+=("\"$unexpected\" in the output")
    done
    if ((${#problems[@]})); then
        printf 'FAILED: %s: %s\n' "$what" "${problems[*]}"
        failures=$((failures + 1))
    fi
}

check "scripts/run-app.sh" "$source_dir/scripts/run-app.sh"
check "pk70app" "$application"
((failures == 0))
