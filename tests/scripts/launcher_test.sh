#!/usr/bin/env bash
# The desktop entry and the metainfo pass their validators, where the
# validator is installed (desktop-file-utils, appstream).
# Usage: launcher_test.sh desktop|metainfo <file>
set -uo pipefail
kind=$1
file=$2

case $kind in
desktop) tool=desktop-file-validate package=desktop-file-utils command=(desktop-file-validate "$file") ;;
metainfo) tool=appstreamcli package=appstream command=(appstreamcli validate --no-net --strict "$file") ;;
*) echo "unknown kind $kind"; exit 2 ;;
esac
if ! command -v "$tool" >/dev/null; then
    echo "SKIPPED: $tool is not installed here (Debian package $package), so $file cannot be validated."
    exit 77
fi
"${command[@]}"
