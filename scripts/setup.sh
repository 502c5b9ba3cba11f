#!/usr/bin/env bash
# Installs the Debian packages the build needs (scripts/packages.txt) that are
# missing, configures build/ and builds the targets given as arguments, or
# everything when there are none. Safe to run again: on a ready machine it
# installs nothing and touches no network.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t packages < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' -e '/^$/d' scripts/packages.txt)
if command -v dpkg-query >/dev/null; then
    missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    if ((${#missing[@]})); then
        sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        echo "Installing: ${missing[*]}"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
else
    echo "No dpkg here: install the equivalents of these Debian packages yourself: ${packages[*]}" >&2
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if (($#)); then
    cmake --build build --target "$@"
else
    cmake --build build
fi
