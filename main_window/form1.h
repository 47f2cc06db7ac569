#pragma once

#include <QMainWindow>

class KovexApp;
class ListBox;
class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;

// The main window: known configurations, the two slots, and the menu.
class Form1 : public QMainWindow {
public:
    explicit Form1(KovexApp& app);

    void Form_Load();
    void Konfigurieren_Click();
    void Speichern_Click();
    void Beenden_Click();
    void Info_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

    QGroupBox* Frame1;
    ListBox* List1;
    QLabel* Label1[3];
    QPushButton* Command1;
    QPushButton* Command2;
    QLabel* player;
    QLabel* computer;
    QPushButton* Command3;
    QPushButton* Command4;

    QMenu* Datei;
    QAction* Konfigurieren;
    QAction* Speichern;
    QAction* Beenden;
    QAction* Info;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls(QWidget* client);
    void createMenu();
    void connectHandlers();

    KovexApp& m_app;
};
