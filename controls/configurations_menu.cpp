#include "configurations_menu.h"

#include "error_report.h"
#include "list_box.h"

#include "settings/application_files.h"
#include "settings/configuration_import.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>
#include <QUrl>

namespace {

// Where the file dialog opens: where the user last chose files in this run, else the desktop,
// where a downloaded unit file often lies, else the home folder.
QString g_lastFolder;

QString dialogFolder() {
    if (!g_lastFolder.isEmpty() && QDir(g_lastFolder).exists())
        return g_lastFolder;
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QDir(desktop).exists() ? desktop : QDir::homePath();
}

} // namespace

ConfigurationsMenu::ConfigurationsMenu(ListBox* list, const ApplicationFiles& files,
                                       ErrorReport& errors)
    : QObject(list), m_list(list), m_files(files), m_errors(errors), m_menu(new QMenu(list)) {
    m_menu->addAction(QStringLiteral("Datei hinzufügen…"), this, &ConfigurationsMenu::chooseFiles);
    m_openConfigs = m_menu->addAction(QStringLiteral("Ordner „configs“ öffnen"), this,
                                      &ConfigurationsMenu::openConfigsFolder);
    connect(list, &ListBox::contextMenuAsked, this, [this](const QPoint& at) {
        if (!m_menu->isVisible())
            m_menu->popup(at);
    });
    list->setAcceptDrops(true);
    list->viewport()->setAcceptDrops(true);
    connect(list, &ListBox::filesDropped, this, &ConfigurationsMenu::filesChosen);
}

void ConfigurationsMenu::chooseFiles() {
    QFileDialog dialog(m_list->window(), QStringLiteral("Konfigurationen hinzufügen"),
                       dialogFolder(), QStringLiteral("Konfigurationen (*.txt *.TXT)"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Suchen in:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Dateiname:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Dateityp:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Hinzufügen"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QStringList chosen = dialog.selectedFiles();
    if (!chosen.isEmpty())
        g_lastFolder = QFileInfo(chosen.first()).absolutePath();
    emit filesChosen(chosen);
}

void ConfigurationsMenu::openConfigsFolder() {
    if (!m_errors.runHandler([this] { m_files.createConfigsFolder(); }))
        return;
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(m_files.configsFolder())))
        m_errors.inform(QStringLiteral("Der Ordner „%1“ konnte nicht geöffnet werden.")
                            .arg(QDir::toNativeSeparators(m_files.configsFolder())));
}

QStringList ConfigurationsMenu::takeIntoConfigs(const QStringList& paths) {
    const ConfigurationImport import(m_files,
                                     [this](const QString& q) { return m_errors.askYesNo(q); });
    QStringList names;
    for (const QString& path : paths)
        m_errors.runHandler([&] {
            if (const auto name = import.importFile(path))
                names << *name;
        });
    return names;
}
