#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The info window: what the program is for, a rights notice, a contact address and a warning.
class Form3 : public QWidget {
public:
    Form3();

    void Command1_Click() { hide(); }

    QPushButton* Command1; // "OK": hides the window
    // 0 the warning beside "OK", 1 the description, 2 "Bei Fragen o. ä. schicke eine Mail an:",
    // 3 the contact address, 4 the rights notice
    QLabel* Label1[5];
};
