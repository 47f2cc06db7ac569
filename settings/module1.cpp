#include "module1.h"

#include "file_checks.h"
#include "file_system_object.h"
#include "folder_lock.h"
#include "kovex_error.h"
#include "settings_controls.h"
#include "system_files.h"
#include "text_stream.h"

#include <QDir>

Module1::Module1(const QString& appFolder, SettingsControls& controls)
    : m_appFolder(appFolder), m_controls(controls) {}

Module1::~Module1() = default;

QString Module1::konfigsPath() const {
    return m_appFolder + QStringLiteral("/Konfigs.ini");
}

QString Module1::unitsPath() const {
    return m_appFolder + QStringLiteral("/units.ini");
}

QString Module1::configsFolder(const QString& appFolder) {
    return appFolder + QStringLiteral("/configs");
}

std::unique_ptr<FileSystemObject> Module1::createFileSystemObject() const {
    return m_fileSystemFactory ? m_fileSystemFactory() : std::make_unique<FileSystemObject>();
}

void Module1::setFileSystemFactory(FileSystemFactory factory) {
    m_fileSystemFactory = std::move(factory);
}

void Module1::refuseUnreadFile(bool read, const QString& path) const {
    // Its content is not in the lists: writing them would lose it.
    if (!read)
        throw KovexError(KovexError::PathFileAccessError,
                         QStringLiteral("%1 (beim Laden nicht gelesen, bleibt unverändert)")
                             .arg(QDir::toNativeSeparators(path)));
}

void Module1::WriteKonfigs() {
    refuseUnreadFile(m_konfigsRead, konfigsPath());
    const QString gameFolder = m_controls.gameFolder();
    // Each value is one line: a folder whose name holds a line break cannot be stored.
    if (gameFolder.contains(QLatin1Char('\n')) || gameFolder.contains(QLatin1Char('\r')))
        throw KovexError(KovexError::BadFileName, QDir::toNativeSeparators(gameFolder));
    auto fso = createFileSystemObject();
    auto stream = fso->OpenTextFile(konfigsPath(), IOMode::ForWriting, true);
    stream->WriteLine(QDir::toNativeSeparators(gameFolder));
    stream->WriteLine(QDir::toNativeSeparators(configsFolder(m_appFolder)));
    stream->Close();
    m_konfigsSeen = stream->Fingerprint();
}

void Module1::WriteUnits() {
    refuseUnreadFile(m_unitsRead, unitsPath());
    auto fso = createFileSystemObject();
    auto stream = fso->OpenTextFile(unitsPath(), IOMode::ForWriting, true);
    stream->WriteLines(m_controls.knownConfigurations());
    stream->Close();
    m_unitsSeen = stream->Fingerprint();
}

void Module1::ReadSettings() {
    auto fso = createFileSystemObject();
    // A failure here is not absorbed: without Konfigs.ini nothing else can be trusted.
    auto konfigs = fso->OpenTextFile(konfigsPath(), IOMode::ForReading, true);
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
    // Another copy of the program saving the same folder waits, or this one reports.
    const FolderLock lock({m_appFolder});
    // A file not read in this run is not overwritten, nor is the other one.
    refuseUnreadFile(m_konfigsRead, konfigsPath());
    refuseUnreadFile(m_unitsRead, unitsPath());
    if (!mayReplace(konfigsPath(), m_konfigsSeen) || !mayReplace(unitsPath(), m_unitsSeen))
        return;
    WriteKonfigs();
    WriteUnits();
    ReadSettings();
}

bool Module1::mayReplace(const QString& path, const QByteArray& seen) {
    const QByteArray now = system_files::fingerprint(path);
    // One removed meanwhile is written anew: nothing in it can be lost. One that is no file any
    // more is refused by the writer.
    if (now.isEmpty() || now == seen || !file_checks::isRegularOrMissing(path))
        return true;
    return m_controls.askYesNo(
        QStringLiteral("„%1“ wurde seit dem Laden von einem anderen Programm geändert (etwa einem "
                       "Editor oder einem zweiten KOVEX).\n\nTrotzdem speichern? Was dort seither "
                       "geändert wurde, geht dann verloren.")
            .arg(QDir::toNativeSeparators(path)));
}

void Module1::applyStoredGameFolder(TextStream& konfigs) {
    const QString gameFolder = konfigs.ReadLine();
    // An empty first line stores no game folder.
    if (gameFolder.isEmpty())
        return;
    m_controls.setGameFolder(QDir::fromNativeSeparators(gameFolder));
}

LineList Module1::readNames(FileSystemObject& fso) {
    auto units = fso.OpenTextFile(unitsPath(), IOMode::ForReading, true);
    LineList names = units->ReadRemainingLines();
    units->Close();
    m_unitsSeen = units->Fingerprint();
    return names;
}
