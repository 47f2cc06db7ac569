#include "application_folder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <climits>
#include <fcntl.h>
#include <unistd.h>

QString applicationFolder() {
    char exe[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", exe, sizeof exe);
    if (length <= 0 || length >= ssize_t(sizeof exe))
        return QCoreApplication::applicationDirPath();
    QByteArray folder(exe, length);
    folder.truncate(qMax(folder.lastIndexOf('/'), qsizetype(1)));
    // A name that is no text in the system's encoding (Latin-1 names from an old archive) does
    // not survive the way into Qt's text and back: the folder is then reached through a
    // descriptor of its own, held for the whole run.
    if (QFile::encodeName(QFile::decodeName(folder)) == folder)
        return QFile::decodeName(folder);
    const int fd = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const QString reached = QStringLiteral("/proc/self/fd/%1").arg(fd);
    if (fd >= 0 && QFileInfo(reached).isDir())
        return reached;
    // Named as well as it can be; a folder of that name is not there, so nothing is created
    // anywhere, and the start says so.
    return QFile::decodeName(folder);
}
