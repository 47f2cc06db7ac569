#pragma once

#include "line_list.h"

#include <QString>

// What the settings routines read and fill: the configuration window's folder list and name
// list, which hold the live settings, and the main window's copy of the names. The windows
// side provides it; the settings store knows no window.
class SettingsControls {
public:
    virtual ~SettingsControls() = default;

    // Creates the configuration window, hidden, if it does not exist yet.
    virtual void loadConfigurationWindow() = 0;
    // The folder list's current path: the game folder.
    virtual QString gameFolder() = 0;
    // Makes the folder current in the folder list; one that it cannot show is a failure.
    virtual void setGameFolder(const QString& folder) = 0;
    // The configuration window's names, in list order.
    virtual LineList knownConfigurations() = 0;
    // Clears the main window's list, then the configuration window's, and appends the names
    // to the configuration window's list and then to the main window's.
    virtual void showKnownConfigurations(const LineList& names) = 0;
};
