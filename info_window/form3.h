#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The info window: what the program is for, a rights notice, a contact address and a warning.
class Form3 : public QWidget {
public:
    Form3();

    void Command1_Click();

    QPushButton* Command1;
    QLabel* Label1[5];
};
