#include "drive_list_box.h"

#include "system_drives.h"

#include <QDir>

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::activated, this, &DriveListBox::onActivated);
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
    QStringList drives;
    for (int i = 0; i < count(); ++i)
        drives << itemText(i);
    const int holding = system_drives::driveHolding(drives, path);
    if (holding < 0)
        return;
    QSignalBlocker block(this);
    setCurrentIndex(holding);
    m_shownIndex = holding;
}

void DriveListBox::onActivated(int index) {
    if (index == m_shownIndex)
        return;
    m_shownIndex = index;
    emit Change();
}
