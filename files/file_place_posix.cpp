#include "file_place.h"

#include "file_errors.h"
#include "kovex_error.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Links a chain may hold, as the system allows.
constexpr int kMostLinks = 40;

// Made by this user, or by root, who could write anywhere anyway.
bool isTrusted(const struct stat& link) {
    return link.st_uid == ::geteuid() || link.st_uid == 0;
}

QString shown(const QByteArray& path) {
    return QDir::toNativeSeparators(QFile::decodeName(path));
}

QByteArray linkTarget(int folder, const QByteArray& name) {
    QByteArray target(256, Qt::Uninitialized);
    for (;;) {
        const ssize_t length = ::readlinkat(folder, name.constData(), target.data(), target.size());
        if (length < 0)
            return {};
        if (length < target.size())
            return target.left(length);
        target.resize(target.size() * 2);
    }
}

// The components of a path, the first last, so that a link's target can be put in front.
void pushComponents(QList<QByteArray>& pending, const QByteArray& path) {
    const QList<QByteArray> parts = path.split('/');
    for (qsizetype i = parts.size() - 1; i >= 0; --i)
        if (!parts[i].isEmpty() && parts[i] != ".")
            pending.append(parts[i]);
}

int openFolder(const char* path) {
    return ::open(path, O_PATH | O_DIRECTORY | O_CLOEXEC);
}

} // namespace

FilePlace::FilePlace(const QString& path) : m_named(path) {
    const QByteArray encoded = QFile::encodeName(path);
    QList<QByteArray> pending;
    pushComponents(pending, encoded);
    // The walk goes folder by folder, each opened without following a link, so that every link
    // on the way is seen and judged.
    QByteArray reached =
        encoded.startsWith('/') ? QByteArray() : QFile::encodeName(QDir::currentPath());
    int folder = openFolder(encoded.startsWith('/') ? "/" : ".");
    int links = 0;
    const auto fail = [&](const KovexError& error) {
        if (folder >= 0)
            ::close(folder);
        throw error;
    };
    if (folder < 0)
        fail(systemError(path, lastSystemErrorCode()));
    QByteArray name;
    while (!pending.isEmpty()) {
        name = pending.takeLast();
        const bool last = pending.isEmpty();
        struct stat status {};
        if (::fstatat(folder, name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
            const long code = lastSystemErrorCode();
            if (last && code == ENOENT)
                break; // the file itself is not there yet
            fail(code == ENOENT || code == ENOTDIR
                     ? KovexError(KovexError::PathNotFound, QDir::toNativeSeparators(path))
                     : systemError(path, code));
        }
        if (S_ISLNK(status.st_mode)) {
            const QByteArray link = reached + '/' + name;
            if (!isTrusted(status))
                fail(KovexError(
                    KovexError::PermissionDenied,
                    QStringLiteral("%1 (Verknüpfung eines anderen Benutzers)").arg(shown(link))));
            const QByteArray target = linkTarget(folder, name);
            if (++links > kMostLinks || target.isEmpty())
                fail(KovexError(KovexError::PathFileAccessError, shown(link)));
            if (target.startsWith('/')) {
                ::close(folder);
                folder = openFolder("/");
                reached.clear();
                if (folder < 0)
                    fail(systemError(path, lastSystemErrorCode()));
            }
            pushComponents(pending, target);
            if (pending.isEmpty()) // a link to "/" or "."
                pending.append(".");
            continue;
        }
        if (last)
            break;
        if (!S_ISDIR(status.st_mode))
            fail(KovexError(KovexError::PathNotFound, QDir::toNativeSeparators(path)));
        const int next =
            ::openat(folder, name.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0)
            fail(systemError(path, lastSystemErrorCode()));
        ::close(folder);
        folder = next;
        if (name == "..")
            reached.truncate(qMax(reached.lastIndexOf('/'), qsizetype(0)));
        else
            reached += '/' + name;
    }
    m_folder = folder;
    m_encodedName = name.isEmpty() ? QByteArray(".") : name;
    m_name = QFile::decodeName(m_encodedName);
    m_folderPath = reached.isEmpty() ? QStringLiteral("/") : QFile::decodeName(reached);
}

FilePlace::~FilePlace() {
    if (m_folder >= 0)
        ::close(int(m_folder));
}

FilePlace::Kind FilePlace::kind() const {
    struct stat status {};
    if (::fstatat(int(m_folder), m_encodedName.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? Kind::Missing : Kind::Other;
    if (S_ISREG(status.st_mode))
        return Kind::Regular;
    return S_ISDIR(status.st_mode) ? Kind::Folder : Kind::Other;
}
