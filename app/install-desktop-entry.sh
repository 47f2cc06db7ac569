#!/usr/bin/env bash
# Puts KOVEX into this user's desktop menu: writes kovex.desktop into the user's applications
# folder ($XDG_DATA_HOME/applications, ~/.local/share/applications by default) with absolute
# paths to this folder, and the icon into the user's hicolor icon theme. Run it again after
# moving the folder; uninstall-desktop-entry.sh takes both away again.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd -P)
data=${XDG_DATA_HOME:-$HOME/.local/share}
case $here in
*$'\n'* | *$'\r'* | *$'\t'*) echo "The folder's name holds a line break or tab: $here" >&2; exit 1 ;;
esac

# A value of the entry: a backslash is written twice.
value() {
    local s=$1
    printf '%s' "${s//\\/\\\\}"
}
# One argument of Exec, quoted: inside the quotes ", `, $ and \ take a backslash, % is doubled,
# and then the whole is a value like any other.
argument() {
    local s=$1
    s=${s//\\/\\\\}
    s=${s//\"/\\\"}
    s=${s//\`/\\\`}
    s=${s//\$/\\\$}
    s=${s//%/%%}
    value "\"$s\""
}

for size in 16 32 48 64 128 256; do
    icons="$data/icons/hicolor/${size}x${size}/apps"
    mkdir -p "$icons"
    cp "$here/icons/kovex-$size.png" "$icons/kovex.png"
done
# GLib looks for the program before it turns %% back into %: a folder with % in its name is
# reached through env, which it finds.
exec=$(argument "$here/kovex")
case $here in
*%*) exec="env $exec" ;;
esac
mkdir -p "$data/applications"
entry="$data/applications/kovex.desktop"
cat > "$entry.new" <<ENTRY
[Desktop Entry]
Type=Application
Name=KOVEX
Comment=Mechs für Velmora Demo Alpha austauschen
Exec=$exec
Path=$(value "$here")
Icon=$(value "$data/icons/hicolor/256x256/apps/kovex.png")
Terminal=false
Categories=Game;
ENTRY
mv "$entry.new" "$entry"
command -v update-desktop-database >/dev/null && update-desktop-database -q "$data/applications" || true
echo "KOVEX is in the menu: $entry"
