#include "drive_list_box.h"

#include "system_drives.h"

#include <QDir>

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (std::exchange(m_shownIndex, index) != index)
            emit Change();
    });
}

void DriveListBox::showEvent(QShowEvent* event) {
    // The drives are looked up when the list is first seen, not while the window is created
    // hidden at start-up; it then shows the program's current drive.
    if (!m_drivesListed) {
        setDrives(system_drives::mountedDrives());
        showDriveOf(QDir::currentPath());
    }
    QComboBox::showEvent(event);
}

void DriveListBox::setDrives(const QStringList& roots) {
    m_drivesListed = true;
    const QString shown = currentText();
    QSignalBlocker block(this);
    clear();
    addItems(roots);
    setCurrentIndex(qMax(findText(shown), 0));
    m_shownIndex = currentIndex();
}

void DriveListBox::showDriveOf(const QString& path) {
    // The deepest drive that holds the path: the root holds every folder on Linux; a drive
    // letter is named in either case, and a network path has none.
    const QString target = QDir::cleanPath(QDir(path).absolutePath());
    int holding = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = QDir::cleanPath(itemText(i));
        const bool holds =
            target.compare(root, Qt::CaseInsensitive) == 0 ||
            target.startsWith(QString(root).append('/').replace("//", "/"), Qt::CaseInsensitive);
        if (holds && (holding < 0 || root.size() > QDir::cleanPath(itemText(holding)).size()))
            holding = i;
    }
    if (holding < 0)
        return;
    QSignalBlocker block(this);
    setCurrentIndex(holding);
    m_shownIndex = holding;
}
