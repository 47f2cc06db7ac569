#!/usr/bin/env bash
# Installs what is missing (Debian 12, as root), builds, then runs the program or the tests.
#   bash tools/dev.sh run           build and start kovex
#   bash tools/dev.sh test          build and run every test through CTest; then, built with
#                                   clang under AddressSanitizer and UndefinedBehaviorSanitizer,
#                                   fuzz the settings reader for a minute and run every test
#                                   again; then the Windows leg below
#   bash tools/dev.sh test-windows  cross-build for Windows with MinGW-w64 and run every test
#                                   under Wine, in a Wine prefix of the build's own
#   bash tools/dev.sh quick         build and run the Linux suites only, for day-to-day work
# Each test leg ends by listing the cases that skipped, with their reasons.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."

linux_packages=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-liberation fonts-comic-neue
    clang libclang-rt-14-dev strace util-linux desktop-file-utils libglib2.0-bin procps
    qt6-qpa-plugins patchelf xvfb x11-utils)
windows_packages=(cmake ninja-build qt6-base-dev g++-mingw-w64-x86-64-posix mingw-w64-tools
    wine64 fonts-liberation fonts-comic-neue xz-utils)
qt_windows_version=6.4.2

list_skips() {
    echo "Skipped cases in $1 (each says why):"
    grep -h "^SKIP" "$1/Testing/Temporary/LastTest.log" | sed 's/^/  /' || echo "  none"
}

# Qt for Windows: cached outside the repository; first from the prebuilt archive beside the
# repository, else built from Debian's source package. Never skipped. The work goes into a
# folder of its own that becomes the cache only once complete: a failed unpack or build stops
# the run and caches nothing.
ensure_qt_for_windows() {
    local cache=${XDG_CACHE_HOME:-$HOME/.cache}/kovex/qt-$qt_windows_version-mingw-x86_64
    local archive=../shared/windows/qt-$qt_windows_version-mingw-x86_64.tar.xz
    qt_windows=$cache/qt-win
    [ -f "$cache/done" ] && return
    partial=$cache.partial
    rm -rf "$cache" "$partial"
    trap 'rm -rf "$partial"' EXIT
    mkdir -p "$partial"
    if [ -f "$archive" ]; then
        echo "Unpacking $archive into $cache"
        tar -xJf "$archive" -C "$partial"
    else
        echo "No $archive: building Qt for Windows from Debian's source into $cache"
        bash tools/build-qt-windows.sh "$partial/qt-win"
    fi
    [ -f "$partial/qt-win/lib/cmake/Qt6/Qt6Config.cmake" ] || {
        echo "Qt for Windows is incomplete in $partial" >&2
        return 1
    }
    touch "$partial/done"
    mv "$partial" "$cache"
    trap - EXIT
}

# The settings reader under the fuzzer for the given seconds: first every input of the corpus
# whole, then new inputs of up to 20 000 bytes. New inputs go to a scratch folder; the kept
# corpus is only read. Allocation stacks only make reports longer:
# without them the fuzzer tries twice the inputs a second.
fuzz_settings_reader() {
    local fuzz=build-sanitize/fuzz_settings_reader
    rm -rf build-sanitize/fuzz-work && mkdir -p build-sanitize/fuzz-work
    $fuzz -runs=0 -max_len=2000000 tests/fuzz/corpus
    ASAN_OPTIONS=malloc_context_size=0 $fuzz -max_total_time="$1" -max_len=20000 \
        -print_final_stats=1 build-sanitize/fuzz-work tests/fuzz/corpus
}

test_windows() {
    bash tools/ensure-packages.sh "${windows_packages[@]}"
    ensure_qt_for_windows
    cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_PREFIX_PATH="$qt_windows" \
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
run | test | quick)
    bash tools/ensure-packages.sh "${linux_packages[@]}"
    cmake -S . -B build -G Ninja
    cmake --build build
    ;;
esac

case "${1:-}" in
run) exec ./build/kovex ;;
quick)
    ctest --test-dir build --output-on-failure
    list_skips build
    ;;
test)
    ctest --test-dir build --output-on-failure
    list_skips build
    CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DKOVEX_SANITIZE=ON
    cmake --build build-sanitize
    fuzz_settings_reader 60
    ctest --test-dir build-sanitize --output-on-failure
    list_skips build-sanitize
    test_windows
    ;;
test-windows) test_windows ;;
*) echo "usage: bash tools/dev.sh run|test|test-windows|quick" >&2; exit 2 ;;
esac
