#!/usr/bin/env bash
# The Linux bundle on a system without Qt: unpacked afresh and started on Xvfb in a private mount
# namespace that hides Debian's Qt and the two fonts, its window comes up, and every Qt,
# xcb-util and xkbcommon-x11 library and every font file it maps is the bundle's. It carries
# nothing that must come from the player's system, every file finds the bundle first, and none
# needs a glibc newer than 2.35 (Ubuntu 22.04, SteamOS 3.5).
set -euo pipefail
archive=$1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
tar -xzf "$archive" -C "$work"
top=$(echo "$work"/kovex-*)

never='^(ld-linux|libc\.|libm\.|libstdc\+\+|libgcc_s|libGL|libEGL|libOpenGL|libdrm|libgbm|libxcb\.so|libX11|libfontconfig|libfreetype|libharfbuzz|libglib|libexpat|libz\.|libpng|libbrotli|libgraphite2|libXau|libXdmcp|libsystemd)'
! find "$top" -name '*.so*' -printf '%f\n' | grep -E "$never" || fail "carries the above"

binaries=("$top/kovex" $(find "$top" -name '*.so*'))
newest=$(objdump -T "${binaries[@]}" | grep -o 'GLIBC_[0-9.]*' | sort -uV | tail -1)
[ "$(printf '%s\nGLIBC_2.35\n' "$newest" | sort -V | tail -1)" = GLIBC_2.35 ] ||
    fail "needs $newest"
for binary in "${binaries[@]}"; do
    [ "$(dirname "$binary")" = "$top" ] && want='$ORIGIN' || want='$ORIGIN/..'
    readelf -d "$binary" | grep -qF "(RUNPATH)            Library runpath: [$want]" ||
        fail "$binary: RUNPATH is not $want"
done

export top
unshare --mount --propagation private bash <<'INNER' || exit $?
set -euo pipefail
trap 'kill $(jobs -p) 2>/dev/null || true' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
mount -t tmpfs none /usr/lib/x86_64-linux-gnu/qt6
for lib in /usr/lib/x86_64-linux-gnu/libQt6*.so*; do
    [ -L "$lib" ] || mount --bind /dev/null "$lib"
done
for fonts in /usr/share/fonts/truetype/liberation /usr/share/fonts/opentype/comic-neue; do
    mount -t tmpfs none "$fonts"
done
export HOME=$top/home XDG_CACHE_HOME=$top/home/cache
mkdir -p "$HOME"
Xvfb -displayfd 3 -screen 0 1024x768x24 3>"$top/display" >/dev/null 2>&1 &
for _ in $(seq 100); do [ -s "$top/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$top/display")
env -u QT_QPA_PLATFORM -u QT_PLUGIN_PATH "$top/kovex" 2>"$top/kovex.log" &
kovex=$!
for _ in $(seq 200); do
    xwininfo -root -tree | grep -q '"KOVEX"' && break
    kill -0 $kovex 2>/dev/null || fail "kovex ended: $(cat "$top/kovex.log")"
    sleep 0.1
done
xwininfo -root -tree | grep -q '"KOVEX"' || fail "no window"
sleep 1 # the first frame drawn, with its fonts
maps=$(grep -o '/[^ ]*$' /proc/$kovex/maps | sort -u)
kill $kovex
echo "$maps" | grep -q "^$top/libQt6Widgets.so.6$" || fail "the bundle's Qt is not in use"
echo "$maps" | grep -q "^$top/platforms/libqxcb.so$" || fail "the bundle's xcb plugin is not in use"
outside=$(echo "$maps" | grep -E '/(libQt6|libxcb-(icccm|image|keysyms|render-util|util)\.|libxkbcommon-x11|[^/]*\.(ttf|otf)$)' | grep -v "^$top/" || true)
[ -z "$outside" ] || fail "mapped from outside the bundle: $outside"
echo "$maps" | grep -q "^$top/fonts/LiberationSans-Regular.ttf$" || fail "the bundle's font is not in use"
INNER
echo "bundle alone ok"
