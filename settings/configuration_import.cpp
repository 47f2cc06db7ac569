#include "configuration_import.h"

#include "application_files.h"
#include "configuration_files.h"

#include "files/folder_lock.h"
#include "files/kovex_error.h"
#include "files/safe_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

ConfigurationImport::ConfigurationImport(const ApplicationFiles& files, Ask ask)
    : m_files(files), m_ask(std::move(ask)) {}

bool ConfigurationImport::isPossibleName(const QString& name) {
    // What Windows refuses in a file name, or takes for a device.
    static const QRegularExpression refused(QStringLiteral("[<>:\"/\\\\|?*\\x00-\\x1f]"));
    static const QRegularExpression device(QStringLiteral("^(CON|PRN|AUX|NUL|COM\\d|LPT\\d)$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QString file = name + QStringLiteral(".txt");
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(refused) && !name.endsWith(QLatin1Char(' ')) &&
           !name.endsWith(QLatin1Char('.')) && !device.match(name).hasMatch() &&
           file.size() <= 255 && file.toUtf8().size() <= 255;
}

std::optional<QString> ConfigurationImport::importFile(const QString& path) const {
    const QString fileName = QFileInfo(path).fileName();
    if (!fileName.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive))
        throw KovexError(
            KovexError::BadFileName,
            QStringLiteral("%1 (keine .txt-Datei)").arg(QDir::toNativeSeparators(path)));
    const QString stem = fileName.chopped(4);
    if (!isPossibleName(stem))
        throw KovexError(KovexError::BadFileName,
                         QStringLiteral("%1 (als Name einer Konfiguration nicht möglich)")
                             .arg(QDir::toNativeSeparators(path)));
    if (QFileInfo(path).isDir())
        throw KovexError(
            KovexError::PathFileAccessError,
            QStringLiteral("%1 (ein Ordner, keine Datei)").arg(QDir::toNativeSeparators(path)));
    const QByteArray bytes = safe_file::read(path);

    const QString configs = m_files.configsFolder();
    m_files.createConfigsFolder();
    QByteArray allowed; // the state of the file in configs that the user allowed to be replaced
    for (;;) {
        // As configs spells it, whatever the case of the name: on Windows one file either way.
        const QString spelt = ConfigurationFiles(configs).fileOf(stem);
        const QString target =
            spelt.isEmpty() ? configs + QLatin1Char('/') + stem + QStringLiteral(".txt") : spelt;
        const QString name = QFileInfo(target).fileName().chopped(4);
        const QByteArray before = ApplicationFiles::stamp(target);
        if (!before.isEmpty() && before != allowed) {
            if (safe_file::read(target) == bytes)
                return name;
            // Asked while no folder is held: another copy is never kept waiting by the box.
            if (!m_ask(QStringLiteral("In „%1“ gibt es schon „%2“, mit anderem Inhalt.\n\n"
                                      "Durch „%3“ ersetzen?")
                           .arg(QDir::toNativeSeparators(configs), QFileInfo(target).fileName(),
                                QDir::toNativeSeparators(path))))
                return std::nullopt;
            allowed = before;
        }
        // Another copy saving or importing into the same folder waits, or this one reports.
        const FolderLock lock(m_files.folder());
        if (ApplicationFiles::stamp(target) != before) // changed while the question was open
            continue;
        SafeWrite copy(target);
        copy.write(bytes);
        copy.narrowTo(path); // never more readable than the file taken in
        copy.commit();
        return name;
    }
}
