#pragma once

#include <QObject>
#include <QStringList>

class ApplicationFiles;
class ErrorReport;
class ListBox;
class QAction;
class QMenu;

// Configurations within reach of a list of them: its context menu holds "Datei hinzufügen…",
// which chooses files in a dialog, and "Ordner „configs“ öffnen", which shows configs in the
// system's file manager, making it first; files dropped onto the list are taken as if chosen.
class ConfigurationsMenu : public QObject {
    Q_OBJECT
public:
    ConfigurationsMenu(ListBox* list, const ApplicationFiles& files, ErrorReport& errors);

    // Takes the files into configs, reporting each that is refused and asking about each that
    // would replace another; the names of the configurations taken, in order.
    QStringList takeIntoConfigs(const QStringList& paths);

    QMenu* menu() const { return m_menu; }
    QAction* openConfigs() const { return m_openConfigs; }

signals:
    void filesChosen(const QStringList& paths);

private:
    void chooseFiles();
    void openConfigsFolder();

    ListBox* m_list;
    const ApplicationFiles& m_files;
    ErrorReport& m_errors;
    QMenu* m_menu;
    QAction* m_openConfigs;
};
