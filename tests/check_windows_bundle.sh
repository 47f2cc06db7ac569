#!/usr/bin/env bash
# Starts kovex.exe from the unpacked Windows bundle under Wine, with nothing on the DLL search
# path but the bundle's own folder, and waits until it has loaded its settings (a first start
# writes both files beside it, empty) and is still running with its window up. There is no
# display here: the only thing added to the bundle is Qt's offscreen platform plugin.
#   check_windows_bundle.sh <unpacked top folder> <wine prefix> <font folder> <qoffscreen.dll>
set -euo pipefail
top=$1 prefix=$2 fonts=$3
cp "$4" "$top/platforms/"
windows_path() { local p; p=$(realpath -m "$1"); echo "Z:${p//\//\\}"; }

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
export WINEQT_QPA_PLATFORM=offscreen
WINEQT_QPA_FONTDIR=$(windows_path "$fonts")
export WINEQT_QPA_FONTDIR
unset WINEPATH
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)

rm -f "$top/Konfigs.ini" "$top/units.ini"
# Started from another folder: the settings belong beside the program, not in the current one.
(cd / && exec "$wine" "$top/kovex.exe") &
program=$!
trap 'kill -9 $program 2>/dev/null || true' EXIT
for _ in $(seq 600); do
    [ -e "$top/Konfigs.ini" ] && [ -e "$top/units.ini" ] && break
    kill -0 $program 2>/dev/null || { echo "kovex.exe ended before it wrote its settings"; exit 1; }
    sleep 0.1
done
[ -e "$top/Konfigs.ini" ] && [ -e "$top/units.ini" ] || { echo "no settings files after 60 s"; exit 1; }
[ ! -s "$top/Konfigs.ini" ] && [ ! -s "$top/units.ini" ] || { echo "first start wrote more than empty settings"; exit 1; }
sleep 2
kill -0 $program 2>/dev/null || { echo "kovex.exe did not stay up"; exit 1; }
echo "kovex.exe started from the bundle and stays up"
