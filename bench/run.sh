#!/usr/bin/env bash
# Builds the benchmarks (Release) and runs them all: start-up against a bare Qt window (offscreen
# and, until the window is visible, on Xvfb), peak memory, a whole save, the apply step against
# durable copies, and how long the window is held up at the most by what reads many files.
# Prints the table for docs/performance.md. Debian 12, as root: installs what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/ensure-packages.sh cmake ninja-build g++ qt6-base-dev libgl-dev fonts-liberation fonts-comic-neue libbenchmark-dev hyperfine time python3 xvfb patchelf

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKOVEX_BENCH=ON >/dev/null
cmake --build build-bench --target startup_kovex startup_bare_window bench_files window_stalls

out=build-bench/results
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen
for n in 0 1000; do
    mkdir -p "$work/n$n"
    python3 -c "import sys; sys.stdout.buffer.write(b''.join(b'Konfiguration_%d\r\n' % i for i in range($n)))" \
        > "$work/n$n/units.ini"
    : > "$work/n$n/Konfigs.ini"
done

bare=build-bench/bench/startup_bare_window
kovex=build-bench/bench/startup_kovex
hyperfine -N --warmup 5 --runs 40 --export-json "$out/startup.json" \
    -n bare "$bare" -n bare_text "$bare text" -n names0 "$kovex $work/n0" -n names1000 "$kovex $work/n1000" >/dev/null

: > "$out/memory.txt"
for run in $(seq 15); do
    for case in bare bare_text names0 names1000; do
        case $case in
        bare) cmd=("$bare") ;;
        bare_text) cmd=("$bare" text) ;;
        names0) cmd=("$kovex" "$work/n0") ;;
        names1000) cmd=("$kovex" "$work/n1000") ;;
        esac
        /usr/bin/time -f "$case %M" "${cmd[@]}" 2>>"$out/memory.txt" >/dev/null
    done
done

build-bench/bench/bench_files --benchmark_repetitions=7 --benchmark_report_aggregates_only=true \
    --benchmark_out="$out/files.json" --benchmark_out_format=json >/dev/null
# The window's longest stalls, the median of five runs each.
: > "$out/stalls.txt"
for run in $(seq 5); do
    build-bench/bench/window_stalls >>"$out/stalls.txt"
done

python3 bench/summarize.py "$out"
echo
# Start-up against the floor, interleaved: offscreen, and as a user sees it, until the main
# window is mapped and exposed on a real X server.
echo '| what | median | ratio | target | |'
echo '|---|---|---|---|---|'
python3 bench/startup.py offscreen build-bench/bench "$work"
python3 bench/startup.py xvfb build-bench/bench "$work"
# The Linux bundle on its own Qt and fonts against the build linked to Debian's, both on Xvfb:
# startup_kovex copied into the unpacked bundle and pointed at its libraries.
(cd build-bench && cpack -G TGZ -B "$work/package" >/dev/null)
tar -xzf "$work"/package/kovex-*.tar.gz -C "$work"
bundle=$(echo "$work"/kovex-*-Linux)
cp build-bench/bench/startup_kovex "$bundle/"
patchelf --set-rpath '$ORIGIN' "$bundle/startup_kovex"
echo "| bundle | $(du -sh "$work"/package/kovex-*.tar.gz | cut -f1) packed, $(du -sh "$bundle" | cut -f1) unpacked | | | |"
python3 bench/startup.py bundle build-bench/bench "$work" "$bundle"
