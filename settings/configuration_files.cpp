#include "configuration_files.h"

#include "settings_text.h"

#include "files/file_system.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

ConfigurationFiles::ConfigurationFiles(const QString& configsFolder) : m_folder(configsFolder) {
    const QStringList entries =
        QDir(configsFolder)
            .entryList({QStringLiteral("*.txt")}, QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries)
        m_files.insert(entry.chopped(4).toCaseFolded(), entry);
}

QString ConfigurationFiles::fileOf(const QString& name) const {
    const auto found = m_files.constFind(name.toCaseFolded());
    return found == m_files.constEnd() ? QString() : m_folder + QLatin1Char('/') + *found;
}

QStringList ConfigurationFiles::names() const {
    QStringList names;
    for (const QString& file : m_files)
        names << file.chopped(4);
    names.sort(Qt::CaseInsensitive);
    return names;
}

QString ConfigurationFiles::describe(const QString& name) const {
    const QString file = fileOf(name);
    const QString expected =
        QDir::toNativeSeparators(m_folder + QLatin1Char('/') + name + QStringLiteral(".txt"));
    // Looked at again: the file may have gone since the folder was.
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile())
        return QStringLiteral("Die Datei „%1“ fehlt.").arg(expected);
    const QLocale german(QLocale::German, QLocale::Germany);
    QString text =
        QStringLiteral("%1\n%2 Bytes, %3")
            .arg(QDir::toNativeSeparators(file), german.toString(info.size()),
                 german.toString(info.lastModified(), QStringLiteral("dd.MM.yyyy HH:mm")));
    // Enough bytes for the lines shown, however they are written.
    constexpr qint64 kRead = 4 * (kShownLineLength + 2) * kShownLines + 4;
    QFile opened(file);
    if (!opened.open(QIODevice::ReadOnly)) // said instead of the lines that cannot be read
        return text + QStringLiteral("\n") + file_system::lastError(file).description();
    QByteArray head = opened.read(kRead);
    // A character cut off at the end of what was read is left out, not shown as another.
    if (head.size() == kRead) {
        while (!head.isEmpty() && (static_cast<unsigned char>(head.back()) & 0xC0) == 0x80)
            head.chop(1);
        if (!head.isEmpty() && (static_cast<unsigned char>(head.back()) & 0xC0) == 0xC0)
            head.chop(1);
    }
    const QStringList lines = settings_text::decodeLines(head);
    for (const QString& line : lines.mid(0, kShownLines))
        text += QStringLiteral("\n") + shortened(line, kShownLineLength);
    return text;
}

QString ConfigurationFiles::shortened(const QString& text, qsizetype length) {
    if (text.size() <= length)
        return text;
    // Never between the two halves of a character beyond the Basic Multilingual Plane.
    return text.first(text.at(length - 1).isHighSurrogate() ? length - 1 : length) + QChar(0x2026);
}
