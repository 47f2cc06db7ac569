#pragma once

#include <QWidget>

class DirListBox;
class DriveListBox;
class KovexApp;
class ListBox;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The configuration window: its controls hold the live settings, the directory list's path
// being the game folder and the list the known configurations.
class Form2 : public QWidget {
public:
    explicit Form2(KovexApp& app);

    void Drive1_Change();
    void Command2_Click();
    void Command3_Click();
    void Command1_Click();

    QPushButton* Command1;
    DriveListBox* Drive1;
    DirListBox* Dir1;
    QGroupBox* Frame1;
    QLabel* Label1;
    QGroupBox* Frame2;
    QLabel* Label2;
    ListBox* List1;
    QLineEdit* Text1;
    QPushButton* Command2;
    QCheckBox* Check1;
    QPushButton* Command3;

private:
    void createControls();
    void connectHandlers();

    KovexApp& m_app;
};
