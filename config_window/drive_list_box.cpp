#include "drive_list_box.h"

#include <QDir>
#include <QStorageInfo>

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    setDrives(mountedDrives());
    showDriveOf(QDir::currentPath());
    connect(this, &QComboBox::activated, this, &DriveListBox::onActivated);
}

QStringList DriveListBox::mountedDrives() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && !roots.contains(volume.rootPath()))
            roots.append(volume.rootPath());
    }
    roots.sort();
    const QString top = QDir::rootPath();
    roots.removeAll(top);
    roots.prepend(top);
    return roots;
}

QString DriveListBox::Drive() const {
    return currentText();
}

void DriveListBox::setDrives(const QStringList& roots) {
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
