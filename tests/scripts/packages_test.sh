#!/usr/bin/env bash
# Every package the set-up script names must be a real Debian package, one
# that dpkg can report installed: a virtual name never shows as installed, so
# the set-up would run apt-get (and need the mirrors) on every start.
# Usage: packages_test.sh <packages.txt>
set -uo pipefail
list=$1

if ! command -v dpkg-query >/dev/null; then
    echo "SKIPPED: no dpkg-query here (not a Debian system); the package names cannot be checked."
    exit 77
fi

mapfile -t packages < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' -e '/^$/d' "$list")
if ((${#packages[@]} == 0)); then
    echo "FAILED: $list names no package"
    exit 1
fi

failures=0
for package in "${packages[@]}"; do
    if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        echo "ok: $package (installed)"
    # Not installed: apt's own records must know it as a package of its own.
    # For a virtual name "apt-cache show" prints no "Package:" stanza.
    elif command -v apt-cache >/dev/null \
        && apt-cache show --no-all-versions "$package" 2>/dev/null | grep -qx "Package: $package"; then
        echo "ok: $package (a real package, not installed)"
    else
        echo "FAILED: $package is neither installed nor a real package apt knows (a virtual or misspelt name?)"
        failures=$((failures + 1))
    fi
done
((failures == 0))
