#include "test_platform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPalette>

#include <sys/stat.h>

namespace test_platform {

QString otherSpellingOf(const QString& folder, const QString& scratch) {
    const QString link = scratch + QStringLiteral("/other-spelling");
    QFile::link(folder, link);
    return link;
}

QColor inactiveTitleBarText() {
    return QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
}

bool menuBarInTheWindowFont() {
    return true;
}

bool drivesNamedAsTheSystemDoes(const QStringList& drives) {
    return !drives.isEmpty() && drives.first() == QDir::rootPath();
}

quint64 fileIdOf(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

void markAsKept(const QString& path) {
    // Neither the umask default 0644 nor a temporary file's 0600.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
}

bool isStillMarked(const QString& path) {
    const auto userBits = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
    return (QFile::permissions(path) & ~userBits) ==
           (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
}

bool hasNamedPipes() {
    return true;
}

bool makeNamedPipe(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

} // namespace test_platform
