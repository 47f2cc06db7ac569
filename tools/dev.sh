#!/usr/bin/env bash
# Installs what is missing (Debian 12, as root), builds, then runs the program or the tests.
#   bash tools/dev.sh run    build and start kovex
#   bash tools/dev.sh test   build and run every test through CTest
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-liberation fonts-comic-neue)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja
cmake --build build

case "${1:-}" in
run) exec ./build/kovex ;;
test) ctest --test-dir build --output-on-failure ;;
*) echo "usage: bash tools/dev.sh run|test" >&2; exit 2 ;;
esac
