#!/usr/bin/env bash
# The application's command line, as a user meets it: --help and --version
# need no display; a mistake ends with a hint and exit code 2; a port named
# with --port that does not open says why on standard error and ends with a
# non-zero code, without a window; a port that opens and whose camera hangs
# up during the load leaves the application running with its window.
# Usage: command_line_test.sh <pk70app> <camsim>
set -uo pipefail
application=$1
camsim=$2
profile=$(mktemp -d)
camera=
trap 'kill $camera 2>/dev/null; rm -rf "$profile"' EXIT

failures=0
check() {
    local what=$1 expected_status=$2 stream=$3 expected=$4
    shift 4
    local stdout stderr status
    stdout=$(XDG_CONFIG_HOME=$profile timeout "${limit:-60}" "$@" 2>"$profile/stderr")
    status=$?
    stderr=$(cat "$profile/stderr")
    echo "--- $what (exit $status)"
    echo "$stdout"
    echo "$stderr"
    local text=$stdout
    [ "$stream" = stderr ] && text=$stderr
    if ((status != expected_status)); then
        echo "FAILED: $what: exit $status, not $expected_status"
        failures=$((failures + 1))
    elif ! grep -qF -- "$expected" <<<"$text"; then
        echo "FAILED: $what: no \"$expected\" on $stream"
        failures=$((failures + 1))
    fi
}

nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
check "--help without a display" 0 stdout "--port NAME" "${nodisplay[@]}" "$application" --help
check "--version without a display" 0 stdout "pk70app " "${nodisplay[@]}" "$application" --version
check "an unknown option" 2 stderr 'Try "pk70app --help".' "${nodisplay[@]}" "$application" --prot ttyS0
check "a port that does not exist" 1 stderr "There is no port /dev/pk70-no-such-port." \
    "$application" -platform offscreen --port /dev/pk70-no-such-port --rate 9600
check "a simulated camera that does not exist" 1 stderr "There is no port sim:PTM-NONE." \
    "$application" -platform offscreen --port sim:PTM-NONE

# The camera hangs up after 20 commands, in the middle of the panel's load. The
# application stays up (ended here by timeout's 124) instead of ending as if
# the port had never opened.
"$camsim" --model PTM-TW640 --rate 115200 --drop-after 20 --link "$profile/camera" >/dev/null 2>&1 &
camera=$!
for _ in $(seq 50); do [ -e "$profile/camera" ] && break; sleep 0.1; done
limit=8 check "a camera that hangs up during the load" 124 stderr "" \
    "$application" -platform offscreen --port "$profile/camera" --rate 115200
((failures == 0))
