#include "configuration_import.h"

#include "application_files.h"
#include "configuration_files.h"

#include "files/file_checks.h"
#include "files/file_place.h"
#include "files/file_system_object.h"
#include "files/folder_lock.h"
#include "files/kovex_error.h"
#include "files/system_files.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

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
        throw KovexError(KovexError::BadFileName,
                         QStringLiteral("%1 (keine .txt-Datei)").arg(shown(path)));
    const QString stem = fileName.chopped(4);
    if (!isPossibleName(stem))
        throw KovexError(
            KovexError::BadFileName,
            QStringLiteral("%1 (als Name einer Konfiguration nicht möglich)").arg(shown(path)));
    if (FilePlace(path).kind() == FilePlace::Kind::Folder)
        throw KovexError(KovexError::PathFileAccessError,
                         QStringLiteral("%1 (ein Ordner, keine Datei)").arg(shown(path)));
    SystemFile readable;
    readable.openRegularForReading(path);

    const QString configs = m_files.configsFolder();
    m_files.createConfigsFolder();
    const auto fso = m_files.createFileSystemObject();
    // The state of the file in configs that the user allowed to be replaced.
    QByteArray allowed;
    for (;;) {
        // As configs spells it, whatever the case of the name: on Windows one file either way.
        const QString spelt = ConfigurationFiles(configs).fileOf(stem);
        const QString target =
            spelt.isEmpty() ? configs + QLatin1Char('/') + stem + QStringLiteral(".txt") : spelt;
        const QString name = QFileInfo(target).fileName().chopped(4);
        const QByteArray before = system_files::fingerprint(target);
        if (!before.isEmpty() && before != allowed) {
            if (file_checks::holdSameBytes(path, target))
                return name;
            // Asked while no folder is held: another copy is never kept waiting by the box.
            if (!m_ask(QStringLiteral("In „%1“ gibt es schon „%2“, mit anderem Inhalt.\n\n"
                                      "Durch „%3“ ersetzen?")
                           .arg(shown(configs), QFileInfo(target).fileName(), shown(path))))
                return std::nullopt;
            allowed = before;
        }
        // Another copy saving or applying from the same configs waits, or this one reports.
        const FolderLock lock({m_files.folder()});
        // Changed while the question was open: looked at again.
        if (system_files::fingerprint(target) != before)
            continue;
        fso->CopyFilesTogether({{path, target}});
        return name;
    }
}
