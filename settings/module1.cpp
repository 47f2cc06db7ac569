#include "module1.h"

#include "application_files.h"
#include "settings_controls.h"
#include "settings_text.h"

#include "files/file_system.h"
#include "files/folder_lock.h"
#include "files/safe_file.h"

#include <QFileInfo>

namespace {

// The settings file's bytes, and where it is missing, an empty file made.
QByteArray readCreating(const QString& path, std::optional<QByteArray>& seen) {
    file_system::refuseForeignLinks(path);
    if (!QFileInfo::exists(path)) {
        file_system::refuseSharedPlaces(path);
        QFile made(path); // appending, so that a file come meanwhile keeps its bytes
        if (!made.open(QIODevice::WriteOnly | QIODevice::Append))
            throw file_system::lastError(path);
    }
    const QByteArray stamp = ApplicationFiles::stamp(path);
    const QByteArray bytes = safe_file::read(path);
    seen = stamp;
    return bytes;
}

void refuseUnread(const std::optional<QByteArray>& seen, const QString& path) {
    // Its content is not in the lists: writing them would lose it.
    if (!seen)
        throw KovexError(KovexError::PathFileAccessError,
                         QStringLiteral("%1 (beim Laden nicht gelesen, bleibt unverändert)")
                             .arg(QDir::toNativeSeparators(path)));
}

} // namespace

Module1::Module1(const ApplicationFiles& files, SettingsControls& controls)
    : m_files(files), m_controls(controls) {}

void Module1::WriteKonfigs() {
    const QString path = m_files.konfigsPath();
    refuseUnread(m_konfigsSeen, path);
    const QString gameFolder = m_controls.gameFolder();
    // Each value is one line: a folder whose name holds a line break cannot be stored.
    if (gameFolder.contains(QLatin1Char('\n')) || gameFolder.contains(QLatin1Char('\r')))
        throw KovexError(KovexError::BadFileName, QDir::toNativeSeparators(gameFolder));
    SafeWrite::whole(
        path, settings_text::encodeLines({QDir::toNativeSeparators(gameFolder),
                                          QDir::toNativeSeparators(m_files.configsFolder())}));
    m_konfigsSeen = ApplicationFiles::stamp(path);
}

void Module1::WriteUnits() {
    const QString path = m_files.unitsPath();
    refuseUnread(m_unitsSeen, path);
    const QByteArray bytes =
        settings_text::encodeLines(m_controls.knownConfigurations() + m_unlisted);
    // What the next start would refuse is never written.
    if (bytes.size() > safe_file::kLargest)
        throw KovexError(KovexError::OutOfMemory, QDir::toNativeSeparators(path));
    SafeWrite::whole(path, bytes);
    m_unitsSeen = ApplicationFiles::stamp(path);
}

void Module1::ReadSettings() {
    // A failure here is not absorbed: without Konfigs.ini nothing else can be trusted.
    const QStringList konfigs =
        settings_text::decodeLines(readCreating(m_files.konfigsPath(), m_konfigsSeen));
    m_controls.loadConfigurationWindow();
    // An empty Konfigs.ini, or an empty first line, stores no game folder.
    if (!konfigs.isEmpty() && !konfigs.first().isEmpty())
        m_controls.setGameFolder(QDir::fromNativeSeparators(konfigs.first()));

    // One failed attempt at units.ini is absorbed: it is read once more, from the start. The
    // lists change only once all names are in.
    QStringList names;
    for (int attempt = 1;; ++attempt) {
        try {
            names = settings_text::decodeLines(readCreating(m_files.unitsPath(), m_unitsSeen));
            break;
        } catch (const KovexError&) {
            if (attempt == 2)
                throw;
        }
    }
    m_unlisted = names.mid(kListedNames);
    m_controls.showKnownConfigurations(names.mid(0, kListedNames));
}

void Module1::SaveSettings() {
    // A file not read in this run is not written over, nor is the other one.
    refuseUnread(m_konfigsSeen, m_files.konfigsPath());
    refuseUnread(m_unitsSeen, m_files.unitsPath());
    const QString paths[2] = {m_files.konfigsPath(), m_files.unitsPath()};
    QByteArray allowed[2]; // a change by someone else the user allowed to be saved over
    const auto changed = [&](int i) {
        return changedUnasked(paths[i], *(i ? m_unitsSeen : m_konfigsSeen), allowed[i]);
    };
    for (;;) {
        // Asked while no lock is held: another copy is never kept waiting by this one's box.
        for (int i = 0; i < 2; ++i) {
            if (!changed(i))
                continue;
            allowed[i] = ApplicationFiles::stamp(paths[i]);
            if (!m_controls.askYesNo(
                    QStringLiteral("„%1“ wurde seit dem Laden von einem anderen Programm geändert "
                                   "(etwa einem Editor oder einem zweiten KOVEX).\n\nTrotzdem "
                                   "speichern? Was dort seither geändert wurde, geht dann "
                                   "verloren.")
                        .arg(QDir::toNativeSeparators(paths[i]))))
                return;
        }
        const FolderLock lock(m_files.folder());
        // Changed again while the question was open: asked again.
        if (changed(0) || changed(1))
            continue;
        WriteKonfigs();
        WriteUnits();
        ReadSettings();
        return;
    }
}

bool Module1::changedUnasked(const QString& path, const QByteArray& seen,
                             const QByteArray& allowed) const {
    const QByteArray now = ApplicationFiles::stamp(path);
    // One removed meanwhile is written anew: nothing in it can be lost. One that is no file any
    // more is refused by the writer.
    return !now.isEmpty() && now != seen && now != allowed && QFileInfo(path).isFile();
}
