#!/usr/bin/env bash
# Installs what is missing (Debian 12, as root), builds, then runs the program or the tests.
#   bash tools/dev.sh run    build and start kovex
#   bash tools/dev.sh test   build and run every test through CTest; then, built with clang
#                            under AddressSanitizer and UndefinedBehaviorSanitizer, fuzz the
#                            settings reader for a minute and run every test again
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/ensure-packages.sh cmake ninja-build g++ qt6-base-dev libgl-dev fonts-liberation fonts-comic-neue clang libclang-rt-14-dev strace util-linux desktop-file-utils libglib2.0-bin procps

cmake -S . -B build -G Ninja
cmake --build build

case "${1:-}" in
run) exec ./build/kovex ;;
test)
    ctest --test-dir build --output-on-failure
    CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DKOVEX_SANITIZE=ON
    cmake --build build-sanitize
    # New inputs go to a scratch folder; the kept corpus is only read.
    rm -rf build-sanitize/fuzz-work && mkdir -p build-sanitize/fuzz-work
    build-sanitize/fuzz_settings_reader -max_total_time=60 -max_len=65536 \
        -print_final_stats=1 build-sanitize/fuzz-work tests/fuzz/corpus
    ctest --test-dir build-sanitize --output-on-failure
    ;;
*) echo "usage: bash tools/dev.sh run|test" >&2; exit 2 ;;
esac
