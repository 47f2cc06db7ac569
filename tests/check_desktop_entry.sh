#!/usr/bin/env bash
# The unpacked bundle on a desktop: its own entry validates; the install step writes an entry
# that validates and starts KOVEX through gio from any folder, even when the bundle lies in a
# folder whose name needs quoting; the uninstall step takes it away again.
set -euo pipefail
bundle=$1
work=$(mktemp -d)
trap 'pkill -f "$work/.*/kovex" || true; rm -rf "$work"' EXIT

desktop-file-validate "$bundle/kovex.desktop"

# A folder name with a blank, a quote, a dollar, an ampersand and a percent sign.
top="$work/Spiele & Werkzeuge/KOVEX's \$Ordner 100%"
mkdir -p "$(dirname "$top")"
cp -a "$bundle" "$top"
export XDG_DATA_HOME="$work/data" HOME="$work/home"
mkdir -p "$HOME"
"$top/install-desktop-entry.sh" >/dev/null
entry="$XDG_DATA_HOME/applications/kovex.desktop"
desktop-file-validate "$entry"
for size in 16 32 48 64 128 256; do
    test -s "$XDG_DATA_HOME/icons/hicolor/${size}x${size}/apps/kovex.png"
done
grep -q '^Path=/' "$entry"
grep -q '^Icon=/' "$entry"

# Started from the menu: from another folder, with the settings beside the program.
rm -f "$top/Konfigs.ini" "$top/units.ini"
(cd / && QT_QPA_PLATFORM=offscreen gio launch "$entry" 2>"$work/launch.log")
for _ in $(seq 100); do
    [ -e "$top/Konfigs.ini" ] && [ -e "$top/units.ini" ] && break
    sleep 0.2
done
if ! [ -e "$top/Konfigs.ini" ]; then
    echo "gio launch did not start KOVEX in its folder:" >&2
    cat "$work/launch.log" >&2
    exit 1
fi

"$top/uninstall-desktop-entry.sh" >/dev/null
test ! -e "$entry"
test ! -e "$XDG_DATA_HOME/icons/hicolor/64x64/apps/kovex.png"
echo "desktop entry ok"
