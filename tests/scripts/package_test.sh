#!/usr/bin/env bash
# Makes the Debian package from the build (as "cmake --build build --target
# package" does, into a temporary folder) and checks what it holds: exactly
# the programs, the simulated grabber's library outside the system's library
# path, the desktop entry, the icons and the metainfo; dependencies computed
# from the programs' libraries; a program that runs.
# Usage: package_test.sh <build dir> <source dir>
set -uo pipefail
build=$1
source_dir=$2

for tool in dpkg-deb dpkg-shlibdeps file; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is missing here, so the package cannot be made or listed" \
             "(dpkg-deb and dpkg-shlibdeps come with dpkg and dpkg-dev, file with file)."
        exit 77
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAILED: cpack could not make the package"
    exit 1
fi
packages=("$work"/pk70app_*.deb)
if ((${#packages[@]} != 1)) || [ ! -f "${packages[0]}" ]; then
    echo "FAILED: no single pk70app_*.deb was made: ${packages[*]}"
    exit 1
fi
package=${packages[0]}

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

id=org.pk70app.PK70App
expected=(
    ./usr/bin/pk70app
    ./usr/bin/camsim
    ./usr/lib/pk70app/clser/libclserpk70sim.so
    ./usr/share/applications/$id.desktop
    ./usr/share/metainfo/$id.metainfo.xml
    ./usr/share/icons/hicolor/scalable/apps/$id.svg
)
for size in 16 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
done

# Files only (directories end in a slash).
mapfile -t listed < <(dpkg-deb -c "$package" | awk '{print $6}' | grep -v '/$' | sort)
echo "--- contents"
printf '%s\n' "${listed[@]}"
for file in "${expected[@]}"; do
    printf '%s\n' "${listed[@]}" | grep -qxF -- "$file" || fail "$file is missing from the package"
done
for file in "${listed[@]}"; do
    printf '%s\n' "${expected[@]}" | grep -qxF -- "$file" || fail "$file should not be in the package"
done

echo "--- control"
dpkg-deb -f "$package" Package Version Depends
depends=$(dpkg-deb -f "$package" Depends)
# Computed: the libraries the programs link, each with the version it needs.
for library in libqt6core6 libqt6widgets6 libqt6serialport6 libstdc++6; do
    grep -qF "$library (>= " <<<"$depends" || fail "Depends lacks $library with a version: $depends"
done
grep -qE "(^|, )qt6-qpa-plugins(,|$)" <<<"$depends" || fail "Depends lacks qt6-qpa-plugins: $depends"

version=$(dpkg-deb -f "$package" Version)
grep -qF "<release version=\"$version\"" "$source_dir/packaging/$id.metainfo.xml" \
    || fail "the metainfo names no release $version"

# The packaged program itself runs (stripped, without a display).
dpkg-deb -x "$package" "$work/root"
output=$(env -u DISPLAY -u WAYLAND_DISPLAY "$work/root/usr/bin/pk70app" --version 2>&1)
[ "$output" = "pk70app $version" ] || fail "the packaged pk70app --version printed \"$output\""

((failures == 0))
