#pragma once

#include "controls/list_box.h"

#include <QLineEdit>

#include <memory>

class ConfigurationsMenu;
class DirListBox;
class DriveListBox;
class ErrorReport;
class Module1;
class QCheckBox;
class QCompleter;
class QGroupBox;
class QLabel;
class QPushButton;

// The configuration window: its controls hold the live settings, the directory list's path
// being the game folder and the list the known configurations.
class Form2 : public QWidget {
public:
    Form2(Module1& settings, ErrorReport& errors);

    void Drive1_Change();
    void Command2_Click() { List1->AddItem(Text1->text()); }
    void Command3_Click();
    void Command1_Click();

    // A game folder found for the user: the folder list opens on it while no game folder is
    // chosen, and "OK" takes it.
    void suggestGameFolder(const QString& path);
    QString suggestedGameFolder() const { return m_suggested; }

    // What configs holds: the list marks names without a file, and the text box offers the
    // files' names as they spell them.
    void setConfigurationFiles(std::shared_ptr<const ConfigurationFiles> files = {});
    // The list's context menu, which takes files into configs, as a drop does.
    ConfigurationsMenu* configurationsMenu() const { return m_configurationsMenu; }
    // Takes the files into configs; names new to the list join it, saved with the others. The
    // names of the configurations taken, in order.
    QStringList addConfigurations(const QStringList& paths);
    QCompleter* completer() const { return m_completer; }

    QPushButton* Command1; // "OK": saves when "Speichern?" is ticked, then hides the window
    DriveListBox* Drive1;  // the drive choice
    DirListBox* Dir1;      // the folder choice; its path is the game folder
    QGroupBox* Frame1;     // left panel: the game folder
    QLabel* Label1;        // "Installationspfad von Velmora angeben:"
    QGroupBox* Frame2;     // right panel: the known configurations
    QLabel* Label2;        // "Bekannte Mech-konfigurationen:"
    ListBox* List1;        // the known configurations, the live list
    QLineEdit* Text1;      // a new configuration name, initially "Text1"
    QPushButton* Command2; // "^ ": appends Text1's text to the list
    QCheckBox* Check1;     // "Speichern?": save on "OK", ticked at first
    QPushButton* Command3; // "löschen": removes the selected name

protected:
    void showEvent(QShowEvent* event) override;
    // The text box looks at configs again when it takes the focus: files may have come since.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Module1& m_settings;
    ErrorReport& m_errors;
    QString m_suggested;
    ConfigurationsMenu* m_configurationsMenu = nullptr;
    QCompleter* m_completer = nullptr;
};
