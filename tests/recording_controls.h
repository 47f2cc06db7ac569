#pragma once

#include "files/folder_lock.h"
#include "files/kovex_error.h"
#include "settings/settings_controls.h"

#include <functional>
#include <thread>

// The settings routines' view of the controls, without any window: records what they are asked
// and answers questions as told.
class RecordingControls final : public SettingsControls {
public:
    void loadConfigurationWindow() override { calls << "load"; }
    QString gameFolder() override { return folder; }
    void setGameFolder(const QString& path) override {
        calls << "folder " + path;
        folder = path;
    }
    bool askYesNo(const QString& question) override {
        calls << "ask " + question;
        if (whileAsked)
            whileAsked();
        return answerYes;
    }
    QStringList knownConfigurations() override { return names; }
    void showKnownConfigurations(const QStringList& shown) override {
        calls << "show " + shown.join(',');
        names = shown;
    }

    QString folder;
    QStringList names;
    QStringList calls;
    bool answerYes = false;
    std::function<void()> whileAsked;
};

// Whether another copy could take the folders' locks now, at once: as another copy would, from
// a thread of its own, so that the lock of this one's thread counts on every system.
inline bool lockedByNobody(const QStringList& folders) {
    bool free = false;
    std::thread other([&] {
        try {
            for (const QString& folder : folders)
                const FolderLock lock(folder);
            free = true;
        } catch (const KovexError&) {
        }
    });
    other.join();
    return free;
}
