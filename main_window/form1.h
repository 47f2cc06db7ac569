#pragma once

#include "controls/error_report.h"
#include "controls/list_box.h"
#include "game/unit_contents.h"
#include "settings/module1.h"

#include <QLabel>
#include <QMainWindow>

class BriefNotice;
class ConfigurationsMenu;
class Form2;
class Form3;
class QAction;
class QGroupBox;
class QMenu;
class QPushButton;

// The windows that the main window opens, and the end of the program. Their owner creates
// each window on its first reference.
class Form1Windows {
public:
    virtual ~Form1Windows() = default;
    virtual Form2& form2() = 0;
    virtual Form3& form3() = 0;
    virtual void endProgram() = 0;
};

// The main window: known configurations, the two slots, and the menu.
class Form1 : public QMainWindow {
public:
    Form1(Module1& settings, ErrorReport& errors, Form1Windows& windows);

    void Form_Load() {
        m_errors.runHandler([this] { m_settings.ReadSettings(); });
    }
    void Konfigurieren_Click();
    void Speichern_Click() {
        m_errors.runHandler([this] { m_settings.SaveSettings(); });
    }
    void Beenden_Click() { close(); }
    void Info_Click();
    void Command1_Click() { player->setText(List1->Text()); }
    void Command2_Click() { computer->setText(List1->Text()); }
    void Command3_Click();
    void Command4_Click();

    // Looks at what the game holds now and shows it: the rows of the configurations the game
    // holds, the slots' and the apply button's tool tips, and the same to a screen reader.
    void showGameHoldings();
    // From now on, what the game holds is looked at again whenever the window becomes active.
    void watchGame() { m_watchingGame = true; }
    // The notice that confirms an apply.
    BriefNotice* notice() const { return m_notice; }
    // The main list's context menu, which takes files into configs, as a drop does.
    ConfigurationsMenu* configurationsMenu() const { return m_configurationsMenu; }
    // Takes the files into configs; names new to the known configurations join them and are
    // saved at once, as "Speichern" does, and the last one taken is selected.
    void addConfigurations(const QStringList& paths);

    QGroupBox* Frame1;     // the panel that holds every other control
    ListBox* List1;        // "Vorhandene Mechs:", the copy of the known configurations
    QLabel* Label1[3];     // headings "Vorhandene Mechs:", "Computer:", "Player:"
    QPushButton* Command1; // upper ">>": the selected name into the player slot
    QPushButton* Command2; // lower ">>": the selected name into the computer slot
    QLabel* player;        // the player slot, green
    QLabel* computer;      // the computer slot, red
    QPushButton* Command3; // "Standard wiederherstellen": both slots back to the defaults
    QPushButton* Command4; // "Konfig´s zuweisen": copies both slots' files into the game

    QMenu* Datei;           // menu "Datei"
    QAction* Konfigurieren; // "Konfigurieren": shows the configuration window
    QAction* Speichern;     // "Speichern": saves the settings
    QAction* Beenden;       // "Beenden": ends the program without saving
    QAction* Info;          // "Info" on the menu bar: shows the info window

protected:
    void closeEvent(QCloseEvent* event) override;
    // Back in the main window: the game's files may have changed meanwhile.
    void changeEvent(QEvent* event) override;

private:
    void showHoldings(const GameHoldings& holdings);
    void createControls(QWidget* client);

    Module1& m_settings;
    ErrorReport& m_errors;
    Form1Windows& m_windows;
    BriefNotice* m_notice = nullptr;
    ConfigurationsMenu* m_configurationsMenu = nullptr;
    bool m_watchingGame = false;
};
