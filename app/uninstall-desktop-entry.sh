#!/usr/bin/env bash
# Takes KOVEX out of this user's desktop menu again: the entry and the icons that
# install-desktop-entry.sh wrote. The program's folder and its settings stay.
set -euo pipefail
data=${XDG_DATA_HOME:-$HOME/.local/share}
rm -f "$data/applications/kovex.desktop"
for size in 16 32 48 64 128 256; do
    rm -f "$data/icons/hicolor/${size}x${size}/apps/kovex.png"
done
command -v update-desktop-database >/dev/null && update-desktop-database -q "$data/applications" || true
echo "KOVEX is no longer in the menu."
