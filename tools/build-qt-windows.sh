#!/usr/bin/env bash
# Builds Qt 6.4.2 (qtbase: Core, Gui, Widgets, Test, the platform plugins and the ico image
# plugin) for 64-bit Windows from Debian 12's own source package with Debian's MinGW-w64, into
# the given folder. Used only where the prebuilt archive is not at hand: about half an hour on
# two cores. It gives the same Qt as the archive (../shared/windows/README.md says how that was
# made).
#   build-qt-windows.sh <install folder>
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
dest=$1
# apt verifies downloads as its own user, who needs a temporary folder open to all.
[ "$(stat -c %a /tmp)" = 1777 ] || export TMPDIR=/var/tmp
bash "$repo/tools/ensure-packages.sh" dpkg-dev patch perl python3

work=$(mktemp -d /var/tmp/kovex-qt-build-XXXXXX)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"

# Debian's source packages come from the mirrors this machine already takes its binary packages
# from: a source entry for every binary entry of its own apt configuration, in a private apt
# configuration, so that the machine's own stays as it is.
apt_dir=$work/apt
mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache"
eval "$(apt-config shell source_list Dir::Etc::sourcelist/f source_parts Dir::Etc::sourceparts/d)"
if [ -f "$source_list" ]; then
    sed -nE 's/^[[:space:]]*deb([[:space:]])/deb-src\1/p' "$source_list" >"$apt_dir/sources.list"
fi
for file in "$source_parts"/*.list; do
    [ -f "$file" ] && sed -nE 's/^[[:space:]]*deb([[:space:]])/deb-src\1/p' "$file"
done >>"$apt_dir/sources.list"
for file in "$source_parts"/*.sources; do
    [ -f "$file" ] || continue
    sed -E '/^Types:/{/[[:space:]]deb([[:space:]]|$)/s/.*/Types: deb-src/}' "$file" \
        >"$apt_dir/sources.list.d/$(basename "$file")"
done
apt_private=(-o "Dir::Etc::sourcelist=$apt_dir/sources.list"
    -o "Dir::Etc::sourceparts=$apt_dir/sources.list.d" -o "Dir::State::lists=$apt_dir/lists"
    -o "Dir::Cache=$apt_dir/cache")
apt-get "${apt_private[@]}" update -qq

cd "$work"
apt-get "${apt_private[@]}" source -qq qt6-base=6.4.2+dfsg-10
cd qt6-base-6.4.2+dfsg
# Qt's Windows plugin uses the DirectWrite font database only where Direct2D is built.
patch -p1 <"$repo/tools/qt-windows-plugin-without-direct2d.patch"

off=()
for feature in sql network xml dbus concurrent printsupport vulkan direct2d tabletevent icu zstd \
    pkg_config jpeg gif; do
    off+=("-DFEATURE_$feature=OFF")
done
bundled=()
for library in zlib pcre2 freetype harfbuzz png doubleconversion libb2; do
    bundled+=("-DFEATURE_system_$library=OFF")
done
cmake -S . -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$dest" -DBUILD_SHARED_LIBS=ON -DCMAKE_BUILD_TYPE=Release \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF -DINPUT_opengl=no \
    "${off[@]}" "${bundled[@]}"
cmake --build build
cmake --install build
# Qt's documentation settings are no part of the prebuilt archive either.
rm -rf "$dest/doc"
