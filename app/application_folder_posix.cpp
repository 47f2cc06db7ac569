#include "application_folder.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <climits>
#include <fcntl.h>
#include <unistd.h>

QString applicationFolder() {
    const QString folder = QCoreApplication::applicationDirPath();
    if (QFileInfo(folder).isDir())
        return folder;
    // A name that is no text in the system's encoding (Latin-1 names from an old archive) does
    // not survive Qt's way into text: the folder is reached through a descriptor of its own, held
    // for the whole run.
    char exe[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", exe, sizeof exe);
    QByteArray name(exe, qMax(length, ssize_t(0)));
    name.truncate(qMax(name.lastIndexOf('/'), qsizetype(1)));
    const int fd = ::open(name.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return fd >= 0 ? QStringLiteral("/proc/self/fd/%1").arg(fd) : folder;
}
