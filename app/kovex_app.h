#pragma once

#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "controls/error_report.h"
#include "main_window/form1.h"
#include "settings/application_files.h"
#include "settings/settings_controls.h"

#include <QStringList>
#include <functional>
#include <memory>

class Form3;
class GameFinder;

// Starts and owns the program: the run-time error report, the settings routines and the three
// windows, each of which exists once. It gives the settings routines the controls that hold
// the settings, and the main window the windows it opens.
class KovexApp final : public SettingsControls, public Form1Windows {
public:
    explicit KovexApp(const QString& appFolder);
    ~KovexApp() override;

    // Creates the main window, runs its load handler and shows it. Once the window is up, what
    // the game holds is looked at, and while no game folder is stored, a game is looked for.
    void start();
    // Where a game is looked for; by default the usual places (game_places.h).
    void setGamePlaces(std::function<QStringList()> places) { m_gamePlaces = std::move(places); }
    // Hides every window and leaves the event loop; nothing is saved.
    void endProgram() override;

    Form1& form1();
    // Created hidden on its first reference.
    Form2& form2() override;
    bool isForm2Loaded() const { return m_form2 != nullptr; }
    // Created at its first use.
    Form3& form3() override;
    bool isForm3Loaded() const { return m_form3 != nullptr; }
    Module1& module1() { return *m_module1; }
    ErrorReport& errorReport() { return m_errorReport; }

    // SettingsControls: the configuration window's folder list and lists.
    void loadConfigurationWindow() override { form2(); }
    QString gameFolder() override { return form2().Dir1->Path(); }
    void setGameFolder(const QString& folder) override { form2().Dir1->setStoredPath(folder); }
    QStringList knownConfigurations() override { return form2().List1->items(); }
    void showKnownConfigurations(const QStringList& names) override;
    bool askYesNo(const QString& question) override { return m_errorReport.askYesNo(question); }

private:
    ErrorReport m_errorReport;
    ApplicationFiles m_files;
    std::unique_ptr<Module1> m_module1;
    std::unique_ptr<Form1> m_form1;
    std::unique_ptr<Form2> m_form2;
    std::unique_ptr<Form3> m_form3;
    std::unique_ptr<GameFinder> m_finder;
    std::function<QStringList()> m_gamePlaces;
    bool m_windowUp = false;

    void windowIsUp();
};
