#!/usr/bin/env bash
# Pictures of kovex.exe under Wine with Qt's real Windows platform plugin, on an Xvfb display in
# a Wine desktop window: the main window and the configuration window, into docs/. Run after
# "bash tools/dev.sh test-windows", which leaves the unpacked bundle in build-windows.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/ensure-packages.sh xvfb x11-utils xdotool imagemagick fonts-wine

bundle=$(ls -d build-windows/bundle-check/unpacked/kovex-*)
work=$(mktemp -d /var/tmp/kovex-screenshot-XXXXXX)
cp -r "$bundle" "$work/KOVEX"
rm -f "$work/KOVEX/platforms/qoffscreen.dll"
printf 'Atlas\r\nLocust\r\nTimber Wolf\r\nWHM-6K_Warhammer\r\nMAD-3R_Marauder\r\n' >"$work/KOVEX/units.ini"
: >"$work/KOVEX/Konfigs.ini"

export DISPLAY=:93 WINEPREFIX=$PWD/build-windows/wine WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
Xvfb $DISPLAY -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; "$(command -v wineserver || echo /usr/lib/wine/wineserver)" -k 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
(cd "$work/KOVEX" && exec "$wine" explorer /desktop=KOVEX,800x500 kovex.exe) &

grab() { # <file> : the newest top-level window called KOVEX
    local geometry
    geometry=$(xwininfo -root -tree | grep '"KOVEX": ("kovex.exe"' | head -1 |
        sed -E 's/.* ([0-9]+x[0-9]+)\+-?[0-9]+\+-?[0-9]+ +\+(-?[0-9]+)\+(-?[0-9]+).*/\1+\2+\3/')
    import -window root -crop "$geometry" +repage "$1"
}
for _ in $(seq 100); do xwininfo -root -tree | grep -q '"KOVEX": ("kovex.exe"' && break; sleep 0.2; done
sleep 2
grab docs/windows_main_window.png
xdotool mousemove 20 31 click 1 && sleep 1 && xdotool mousemove 40 50 click 1 && sleep 2
grab docs/windows_config_window.png
echo "docs/windows_main_window.png docs/windows_config_window.png"
