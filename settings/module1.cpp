#include "module1.h"

#include "application_files.h"
#include "settings_controls.h"
#include "settings_text.h"

#include "files/file_checks.h"
#include "files/file_system_object.h"
#include "files/folder_lock.h"
#include "files/kovex_error.h"
#include "files/system_files.h"
#include "files/text_stream.h"

#include <QDir>

Module1::Module1(const ApplicationFiles& files, SettingsControls& controls)
    : m_files(files), m_controls(controls) {}

void Module1::refuseUnreadFile(bool read, const QString& path) const {
    // Its content is not in the lists: writing them would lose it.
    if (!read)
        throw KovexError(KovexError::PathFileAccessError,
                         QStringLiteral("%1 (beim Laden nicht gelesen, bleibt unverändert)")
                             .arg(QDir::toNativeSeparators(path)));
}

void Module1::WriteKonfigs() {
    refuseUnreadFile(m_konfigsRead, m_files.konfigsPath());
    const QString gameFolder = m_controls.gameFolder();
    // Each value is one line: a folder whose name holds a line break cannot be stored.
    if (gameFolder.contains(QLatin1Char('\n')) || gameFolder.contains(QLatin1Char('\r')))
        throw KovexError(KovexError::BadFileName, QDir::toNativeSeparators(gameFolder));
    auto fso = m_files.createFileSystemObject();
    auto stream = fso->OpenTextFile(m_files.konfigsPath(), IOMode::ForWriting, true);
    stream->WriteLine(QDir::toNativeSeparators(gameFolder));
    stream->WriteLine(QDir::toNativeSeparators(m_files.configsFolder()));
    stream->Close();
    m_konfigsSeen = stream->Fingerprint();
}

void Module1::WriteUnits() {
    refuseUnreadFile(m_unitsRead, m_files.unitsPath());
    auto fso = m_files.createFileSystemObject();
    auto stream = fso->OpenTextFile(m_files.unitsPath(), IOMode::ForWriting, true);
    settings_text::writeLines(*stream, m_controls.knownConfigurations(), m_files.unitsPath());
    stream->Close();
    m_unitsSeen = stream->Fingerprint();
}

void Module1::ReadSettings() {
    auto fso = m_files.createFileSystemObject();
    // A failure here is not absorbed: without Konfigs.ini nothing else can be trusted.
    auto konfigs = fso->OpenTextFile(m_files.konfigsPath(), IOMode::ForReading, true);
    m_konfigsRead = true;
    m_konfigsSeen = konfigs->Fingerprint();
    m_controls.loadConfigurationWindow();

    // One failure per call is absorbed silently: an empty Konfigs.ini, or one failed attempt at
    // units.ini, which is then read once more from the start.
    bool recoveryTaken = false;
    try {
        applyStoredGameFolder(*konfigs);
    } catch (const KovexError&) {
        recoveryTaken = true;
    }

    LineList names;
    for (;;) {
        try {
            names = readNames(*fso);
            break;
        } catch (const KovexError&) {
            if (recoveryTaken)
                throw;
            recoveryTaken = true;
        }
    }

    // The lists change only once all names are in: a failed read leaves them as they were.
    m_unitsRead = true;
    m_controls.showKnownConfigurations(names);
    konfigs->Close();
}

void Module1::SaveSettings() {
    // A file not read in this run is not overwritten, nor is the other one.
    refuseUnreadFile(m_konfigsRead, m_files.konfigsPath());
    refuseUnreadFile(m_unitsRead, m_files.unitsPath());
    const QString paths[2] = {m_files.konfigsPath(), m_files.unitsPath()};
    // A change by someone else that the user allowed to be saved over, as it was then.
    QByteArray allowed[2];
    for (;;) {
        const QByteArray* seen[2] = {&m_konfigsSeen, &m_unitsSeen};
        // Asked while no lock is held: another copy is never kept waiting by this one's box.
        for (int i = 0; i < 2; ++i) {
            if (!changedUnasked(paths[i], *seen[i], allowed[i]))
                continue;
            allowed[i] = system_files::fingerprint(paths[i]);
            const bool replace = m_controls.askYesNo(
                QStringLiteral(
                    "„%1“ wurde seit dem Laden von einem anderen Programm geändert (etwa einem "
                    "Editor oder einem zweiten KOVEX).\n\nTrotzdem speichern? Was dort seither "
                    "geändert wurde, geht dann verloren.")
                    .arg(QDir::toNativeSeparators(paths[i])));
            if (!replace)
                return;
        }
        // Another copy of the program saving the same folder waits, or this one reports.
        const FolderLock lock({m_files.folder()});
        // Changed again while the question was open: asked again.
        if (changedUnasked(paths[0], m_konfigsSeen, allowed[0]) ||
            changedUnasked(paths[1], m_unitsSeen, allowed[1]))
            continue;
        WriteKonfigs();
        WriteUnits();
        ReadSettings();
        return;
    }
}

bool Module1::changedUnasked(const QString& path, const QByteArray& seen,
                             const QByteArray& allowed) const {
    const QByteArray now = system_files::fingerprint(path);
    // One removed meanwhile is written anew: nothing in it can be lost. One that is no file any
    // more is refused by the writer.
    return !now.isEmpty() && now != seen && now != allowed && file_checks::isRegularOrMissing(path);
}

void Module1::applyStoredGameFolder(TextStream& konfigs) {
    const QString gameFolder = konfigs.ReadLine();
    // An empty first line stores no game folder.
    if (gameFolder.isEmpty())
        return;
    m_controls.setGameFolder(QDir::fromNativeSeparators(gameFolder));
}

LineList Module1::readNames(FileSystemObject& fso) {
    auto units = fso.OpenTextFile(m_files.unitsPath(), IOMode::ForReading, true);
    LineList names = settings_text::decodeLines(units->ReadAll());
    units->Close();
    m_unitsSeen = units->Fingerprint();
    return names;
}
