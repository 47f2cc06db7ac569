#include "drive_list_box.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <QStorageInfo>
#include <algorithm>

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::activated, this, &DriveListBox::onActivated);
}

void DriveListBox::showEvent(QShowEvent* event) {
    // The drives are looked up when the list is first seen, not while the window is created
    // hidden at start-up; it then shows the program's current drive.
    if (!m_drivesListed) {
        setDrives(mountedDrives());
        showDriveOf(QDir::currentPath());
    }
    QComboBox::showEvent(event);
}

namespace {

#ifdef Q_OS_LINUX
// A mount point as the mount table spells it: blank, tab, newline and backslash as octal escapes.
QString unescapeMountPath(const QByteArray& field) {
    QByteArray path;
    path.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                path.append(char(code));
                i += 3;
                continue;
            }
        }
        path.append(field[i]);
    }
    return QFile::decodeName(path);
}

bool isUnder(const QString& path, const QString& folder) {
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}
#endif

} // namespace

QStringList DriveListBox::drivesFromMountInfo(const QByteArray& mountInfo) {
    QStringList roots;
#ifdef Q_OS_LINUX
    // One line per mount: "id parent major:minor root mountpoint options ... - type source ...".
    QSet<QString> seen;
    for (const QByteArray& line : mountInfo.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 0 || dash + 2 >= fields.size())
            continue;
        const QString mountPoint = unescapeMountPath(fields[4]);
        const QByteArray type = fields[dash + 1];
        const QByteArray source = fields[dash + 2];
        // The system's own file systems are no drives to keep a game on.
        static const QStringList systemFolders{"/dev", "/proc", "/sys", "/var/run", "/var/lock"};
        if (std::any_of(systemFolders.begin(), systemFolders.end(),
                        [&](const QString& f) { return isUnder(mountPoint, f); }))
            continue;
        if (type == "rootfs" || type == "rpc_pipefs" ||
            (type != "tmpfs" && !source.startsWith('/')))
            continue;
        if (!seen.contains(mountPoint)) {
            seen.insert(mountPoint);
            roots.append(mountPoint);
        }
    }
#else
    Q_UNUSED(mountInfo);
#endif
    return roots;
}

QStringList DriveListBox::mountedDrives() {
    QStringList roots;
#ifdef Q_OS_WIN
    // Drive letters, as the game's players know them: "C:" hands the directory list that
    // drive's current folder.
    for (const QFileInfo& drive : QDir::drives())
        roots.append(drive.path().left(2).toUpper());
    roots.sort();
    return roots;
#else
#ifdef Q_OS_LINUX
    // Read once and in one pass: Qt's own volume list asks the whole mount table again for
    // every volume, which takes seconds with thousands of mounts.
    QFile mountInfo(QStringLiteral("/proc/self/mountinfo"));
    if (mountInfo.open(QIODevice::ReadOnly))
        roots = drivesFromMountInfo(mountInfo.readAll());
#endif
    if (roots.isEmpty()) {
        QSet<QString> seen;
        for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
            if (volume.isValid() && !seen.contains(volume.rootPath())) {
                seen.insert(volume.rootPath());
                roots.append(volume.rootPath());
            }
        }
    }
    roots.sort();
    const QString top = QDir::rootPath();
    roots.removeAll(top);
    roots.prepend(top);
    return roots;
#endif
}

QString DriveListBox::Drive() const {
    return currentText();
}

void DriveListBox::setDrives(const QStringList& roots) {
    m_drivesListed = true;
    const QString shown = currentText();
    QSignalBlocker block(this);
    clear();
    addItems(roots);
    m_shownIndex = findText(shown);
    setCurrentIndex(m_shownIndex < 0 ? 0 : m_shownIndex);
    m_shownIndex = currentIndex();
}

void DriveListBox::showDriveOf(const QString& path) {
    const QString target = QDir::cleanPath(QDir(path).absolutePath());
    int best = -1;
#ifdef Q_OS_WIN
    // The drive letter, in either case; a network path has none and leaves the list as it is.
    if (target.size() >= 2 && target[1] == QLatin1Char(':'))
        best = findText(target.left(2), Qt::MatchFixedString);
#else
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = QDir::cleanPath(itemText(i));
        const bool holds = target == root || root == QDir::rootPath() ||
                           target.startsWith(root + QLatin1Char('/'));
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
#endif
    if (best < 0)
        return;
    QSignalBlocker block(this);
    setCurrentIndex(best);
    m_shownIndex = best;
}

void DriveListBox::onActivated(int index) {
    if (index == m_shownIndex)
        return;
    m_shownIndex = index;
    emit Change();
}
