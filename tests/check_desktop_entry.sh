#!/usr/bin/env bash
# The unpacked bundle on a desktop: its own entry validates, and once KOVEX has run in the
# bundle it starts KOVEX through gio from any folder; the install step writes an entry that
# validates and does the same; all of it even when the bundle lies in a folder whose name needs
# quoting. The uninstall step takes the entry away again.
set -euo pipefail
bundle=$1
work=$(mktemp -d)
# Ends every KOVEX that runs in the bundle's folder.
end_kovex() {
    for pid in $(pgrep -x kovex); do
        [ "$(readlink "/proc/$pid/cwd")" = "$top" ] && kill "$pid"
    done
    return 0
}
trap 'end_kovex; rm -rf "$work"' EXIT

desktop-file-validate "$bundle/kovex.desktop"

# A folder name with a blank, a quote, a dollar, an ampersand and a percent sign.
top="$work/Spiele & Werkzeuge/KOVEX's \$Ordner 100%"
mkdir -p "$(dirname "$top")"
cp -a "$bundle" "$top"
export XDG_DATA_HOME="$work/data" HOME="$work/home"
mkdir -p "$HOME"

# Waits until KOVEX, started by gio from the root folder, has made its settings beside itself.
started_through() {
    rm -f "$top/Konfigs.ini" "$top/units.ini"
    (cd / && QT_QPA_PLATFORM=offscreen gio launch "$1" 2>"$work/launch.log")
    for _ in $(seq 100); do
        [ -e "$top/Konfigs.ini" ] && [ -e "$top/units.ini" ] && break
        sleep 0.2
    done
    end_kovex
    if ! [ -e "$top/Konfigs.ini" ]; then
        echo "gio launch $1 did not start KOVEX in its folder:" >&2
        cat "$work/launch.log" >&2
        return 1
    fi
}

# The bundle's own entry, after a first start in the bundle.
(cd "$top" && QT_QPA_PLATFORM=offscreen ./kovex >/dev/null 2>&1 &)
for _ in $(seq 100); do
    grep -qF "Path=$top" "$top/kovex.desktop" && break
    sleep 0.2
done
end_kovex
grep -qF "Path=$top" "$top/kovex.desktop"
desktop-file-validate "$top/kovex.desktop"
# Its icon is the bundle's own.
test -s "$(sed -n 's/^Icon=//p' "$top/kovex.desktop")"
started_through "$top/kovex.desktop"

"$top/install-desktop-entry.sh" >/dev/null
entry="$XDG_DATA_HOME/applications/kovex.desktop"
desktop-file-validate "$entry"
for size in 16 32 48 64 128 256; do
    test -s "$XDG_DATA_HOME/icons/hicolor/${size}x${size}/apps/kovex.png"
done
grep -q '^Path=/' "$entry"
grep -q '^Icon=/' "$entry"

# Started from the menu: from another folder, with the settings beside the program.
started_through "$entry"

"$top/uninstall-desktop-entry.sh" >/dev/null
test ! -e "$entry"
test ! -e "$XDG_DATA_HOME/icons/hicolor/64x64/apps/kovex.png"
echo "desktop entry ok"
