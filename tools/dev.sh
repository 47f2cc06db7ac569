#!/usr/bin/env bash
# Installs what is missing (Debian 12, as root), builds, then runs the program or the tests.
#   bash tools/dev.sh run           build and start kovex
#   bash tools/dev.sh test          build and run every test through CTest; then, built with
#                                   clang under AddressSanitizer and UndefinedBehaviorSanitizer,
#                                   fuzz the settings reader for a minute and run every test
#                                   again; then the Windows leg below
#   bash tools/dev.sh test-windows  cross-build for Windows with MinGW-w64 and run every test
#                                   under Wine, in a Wine prefix of the build's own
# Each test leg ends by listing the cases that skipped, with their reasons.
set -euo pipefail
cd "$(dirname "$0")/.."

linux_packages=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-liberation fonts-comic-neue
    clang libclang-rt-14-dev strace util-linux desktop-file-utils libglib2.0-bin procps)
windows_packages=(cmake ninja-build qt6-base-dev g++-mingw-w64-x86-64-posix mingw-w64-tools
    wine64 fonts-liberation fonts-comic-neue xz-utils)
qt_windows_version=6.4.2

list_skips() {
    echo "Skipped cases in $1 (each says why):"
    grep -h "^SKIP" "$1/Testing/Temporary/LastTest.log" | sed 's/^/  /' || echo "  none"
}

# Qt for Windows: cached outside the repository; first from the prebuilt archive beside the
# repository, else built from Debian's source package. Never skipped.
qt_for_windows() {
    local cache=${XDG_CACHE_HOME:-$HOME/.cache}/kovex/qt-$qt_windows_version-mingw-x86_64
    local archive=../shared/windows/qt-$qt_windows_version-mingw-x86_64.tar.xz
    if [ ! -f "$cache/done" ]; then
        rm -rf "$cache" && mkdir -p "$cache"
        if [ -f "$archive" ]; then
            echo "Unpacking $archive into $cache" >&2
            tar -xJf "$archive" -C "$cache"
        else
            echo "No $archive: building Qt for Windows from Debian's source into $cache" >&2
            bash tools/build-qt-windows.sh "$cache/qt-win" >&2
        fi
        touch "$cache/done"
    fi
    echo "$cache/qt-win"
}

test_windows() {
    bash tools/ensure-packages.sh "${windows_packages[@]}"
    local qt
    qt=$(qt_for_windows)
    cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_PREFIX_PATH="$qt" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    cmake --build build-windows
    # A fresh private Wine prefix for every run.
    rm -rf build-windows/wine
    WINEPREFIX=$PWD/build-windows/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=" \
        "$(command -v wine64 || echo /usr/lib/wine/wine64)" wineboot --init
    ctest --test-dir build-windows --output-on-failure
    list_skips build-windows
}

case "${1:-}" in
run | test)
    bash tools/ensure-packages.sh "${linux_packages[@]}"
    cmake -S . -B build -G Ninja
    cmake --build build
    ;;
esac

case "${1:-}" in
run) exec ./build/kovex ;;
test)
    ctest --test-dir build --output-on-failure
    list_skips build
    CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DKOVEX_SANITIZE=ON
    cmake --build build-sanitize
    # New inputs go to a scratch folder; the kept corpus is only read.
    rm -rf build-sanitize/fuzz-work && mkdir -p build-sanitize/fuzz-work
    build-sanitize/fuzz_settings_reader -max_total_time=60 -max_len=65536 \
        -print_final_stats=1 build-sanitize/fuzz-work tests/fuzz/corpus
    ctest --test-dir build-sanitize --output-on-failure
    list_skips build-sanitize
    test_windows
    ;;
test-windows) test_windows ;;
*) echo "usage: bash tools/dev.sh run|test|test-windows" >&2; exit 2 ;;
esac
