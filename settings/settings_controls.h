#pragma once

#include <QStringList>

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
    // Makes the stored folder the game folder: current in the folder list where it can be shown;
    // one that cannot be used now (a drive not plugged in, a folder moved, a path of another
    // system) stays the game folder all the same, until the user chooses another.
    virtual void setGameFolder(const QString& folder) = 0;
    // The configuration window's names, in list order.
    virtual QStringList knownConfigurations() = 0;
    // Clears the main window's list, then the configuration window's, and appends the names
    // to the configuration window's list and then to the main window's.
    virtual void showKnownConfigurations(const QStringList& names) = 0;
    // Asks the user; true for "Ja". "Nein" is the default.
    virtual bool askYesNo(const QString& question) = 0;
};
