#include "desktop_entry.h"

void refreshBundleDesktopEntry(const QString&) {
    // Windows starts kovex.exe from wherever it lies; there is no entry to keep.
}
