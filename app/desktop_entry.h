#pragma once

#include <QString>

// The portable bundle's own desktop entry (kovex.desktop beside the program) names this folder
// once the program has run in it, so that the entry starts KOVEX from any folder, also where
// the desktop does not say where the entry lies (GLib's "gio launch" leaves %k empty). Linux
// only (desktop_entry_posix.cpp); Windows has no such entry (desktop_entry_win.cpp).
void refreshBundleDesktopEntry(const QString& appFolder);
