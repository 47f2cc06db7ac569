#!/usr/bin/env bash
# How many inputs a second the settings reader's fuzzer tries: built with clang under ASan and
# UBSan as in the test run, and run for 60 s as there, three times from the kept corpus.
# Debian 12, as root: installs what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/ensure-packages.sh cmake ninja-build clang libclang-rt-14-dev qt6-base-dev libgl-dev
CXX=clang++ cmake -S . -B build-sanitize -G Ninja -DKOVEX_SANITIZE=ON >/dev/null
cmake --build build-sanitize --target fuzz_settings_reader >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for run in 1 2 3; do
    rm -rf "$work/new" && mkdir "$work/new"
    ASAN_OPTIONS=malloc_context_size=0 build-sanitize/fuzz_settings_reader -max_total_time=60 \
        -max_len=20000 -print_final_stats=1 "$work/new" tests/fuzz/corpus 2>&1 |
        sed -n "s/^stat::average_exec_per_sec: */run $run: inputs a second: /p"
done
