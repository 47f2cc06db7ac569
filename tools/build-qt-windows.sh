#!/usr/bin/env bash
# Builds Qt 6.4.2 (qtbase: Core, Gui, Widgets, Test and the platform plugins) for 64-bit Windows
# from Debian 12's own source package with Debian's MinGW-w64, into the given folder. Used only
# where the prebuilt archive is not at hand: about an hour on two cores.
#   build-qt-windows.sh <install folder>
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
dest=$1
# apt verifies downloads as its own user, who needs a temporary folder open to all.
[ "$(stat -c %a /tmp)" = 1777 ] || export TMPDIR=/var/tmp

# Debian's source packages, next to its binary ones.
if ! grep -rqs "^Types:.*deb-src" /etc/apt/sources.list.d/ && ! grep -qs "^deb-src" /etc/apt/sources.list; then
    cat >/etc/apt/sources.list.d/kovex-deb-src.sources <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
fi
apt-get update -qq
bash "$repo/tools/ensure-packages.sh" dpkg-dev patch perl python3

work=$(mktemp -d /var/tmp/kovex-qt-build-XXXXXX)
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get source -qq qt6-base=6.4.2+dfsg-10
cd qt6-base-6.4.2+dfsg
# Qt's Windows plugin uses the DirectWrite font database only where Direct2D is built.
patch -p1 <"$repo/tools/qt-windows-plugin-without-direct2d.patch"

off=()
for feature in sql network xml dbus concurrent printsupport vulkan direct2d tabletevent icu zstd \
    pkg_config jpeg gif ico; do
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
