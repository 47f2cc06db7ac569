#pragma once

#include <QComboBox>

// The drive choice (system_drives.h says what a drive is on each system). Drive() is the
// selected drive, which the directory list accepts as a path.
class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveListBox(QWidget* parent);

    QString Drive() const { return currentText(); }
    // Replaces the offered drives, keeping the shown one where it is still offered.
    void setDrives(const QStringList& roots);
    // Shows the drive that holds the path, without a change event.
    void showDriveOf(const QString& path);

signals:
    // The user selected a different drive.
    void Change();

protected:
    void showEvent(QShowEvent* event) override;

private:
    int m_shownIndex = -1;
    bool m_drivesListed = false;
};
