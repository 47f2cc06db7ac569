#include "form2.h"

#include "controls/command_button.h"
#include "controls/configurations_menu.h"
#include "controls/error_report.h"
#include "controls/kovex_fonts.h"
#include "controls/static_label.h"
#include "controls/twips.h"
#include "dir_list_box.h"
#include "drive_list_box.h"
#include "files/kovex_error.h"
#include "settings/application_files.h"
#include "settings/configuration_files.h"
#include "settings/module1.h"

#include <QCheckBox>
#include <QCompleter>
#include <QFileInfo>
#include <QGroupBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringListModel>

Form2::Form2(Module1& settings, ErrorReport& errors) : m_settings(settings), m_errors(errors) {
    setWindowTitle(QStringLiteral("KOVEX"));
    setFont(kovex_fonts::standard());
    setFixedSize(twips(6990), twips(5430));
    const QFont bold = kovex_fonts::bold();
    // Tab reaches every control that takes the focus, in the order laid out (showEvent); the
    // focus starts on "löschen".
    Command1 = placed(new CommandButton(QStringLiteral("OK"), font(), this), 5280, 4920, 1215, 375);
    Frame1 = placed(new QGroupBox(this), 120, 120, 3375, 4575, Qt::NoFocus);
    Label1 = placed(
        new StaticLabel(QStringLiteral("Installationspfad von Velmora angeben:"), bold, Frame1),
        120, 240, 3135, 495);
    // The drive and directory lists belong to the window and lie in front of the frame.
    Drive1 = placed(new DriveListBox(this), 240, 960, 3135, 315, Qt::StrongFocus);
    Dir1 = placed(new DirListBox(this), 240, 1320, 3135, 3240, Qt::StrongFocus);
    Frame2 = placed(new QGroupBox(this), 3720, 120, 3135, 4575, Qt::NoFocus);
    Label2 = placed(new StaticLabel(QStringLiteral("Bekannte Mech-konfigurationen:"), bold, Frame2),
                    120, 240, 2895, 615);
    List1 = placed(new ListBox(Frame2), 120, 840, 2895, 2790, Qt::StrongFocus);
    Text1 = placed(new QLineEdit(QStringLiteral("Text1"), Frame2), 120, 4080, 2895, 285);
    // The names of the files in configs, offered while a name is typed.
    m_completer = new QCompleter(new QStringListModel(this), this);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setModelSorting(QCompleter::CaseInsensitivelySortedModel);
    Text1->setCompleter(m_completer);
    Text1->installEventFilter(this);
    m_configurationsMenu = new ConfigurationsMenu(List1, m_settings.files(), m_errors);
    Command2 = placed(new CommandButton(QStringLiteral("^ "), bold, Frame2), 840, 3720, 255, 255);
    Check1 = placed(new QCheckBox(QStringLiteral("Speichern?"), this), 3720, 4920, 1575, 375,
                    Qt::StrongFocus);
    Check1->setFont(bold);
    Check1->setChecked(true);
    Command3 =
        placed(new CommandButton(QStringLiteral("löschen"), bold, Frame2), 1440, 3720, 1215, 255);
    Drive1->raise();
    Dir1->raise();
    Command3->setFocus();

    // What a screen reader says of each control.
    Command1->setAccessibleDescription(
        QStringLiteral("Speichert, wenn „Speichern?“ angekreuzt ist, und schließt das Fenster"));
    Drive1->setAccessibleName(QStringLiteral("Laufwerk"));
    Drive1->setAccessibleDescription(QStringLiteral("Laufwerk des Installationspfads"));
    Dir1->setAccessibleName(QStringLiteral("Installationspfad von Velmora"));
    Dir1->setAccessibleDescription(
        QStringLiteral("Doppelklick oder die Eingabetaste öffnet einen Ordner"));
    List1->setAccessibleName(QStringLiteral("Bekannte Mech-konfigurationen"));
    Text1->setAccessibleName(QStringLiteral("Neue Mech-konfiguration"));
    Command2->setAccessibleName(QStringLiteral("Hinzufügen"));
    Command2->setAccessibleDescription(
        QStringLiteral("Hängt den Namen aus dem Textfeld an die Liste an"));
    Check1->setAccessibleDescription(QStringLiteral("Beim OK die Einstellungen speichern"));
    Command3->setAccessibleDescription(QStringLiteral("Entfernt die gewählte Konfiguration"));

    connect(Drive1, &DriveListBox::Change, this, &Form2::Drive1_Change);
    connect(Dir1, &DirListBox::openRequested, this,
            [this](const QString& path) { m_errors.runHandler([&] { Dir1->setPath(path); }); });
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& text) {
        // A name is one line of the settings file: pasted line breaks must not split it on the
        // next load. Breaks at the ends go, breaks inside become one blank.
        static const QRegularExpression breaks(QStringLiteral("[\\r\\n]+"));
        if (text.contains(breaks))
            Text1->setText(text.split(breaks, Qt::SkipEmptyParts).join(QLatin1Char(' ')));
    });
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(m_configurationsMenu, &ConfigurationsMenu::filesChosen, this,
            &Form2::addConfigurations);
}

void Form2::Drive1_Change() {
    try {
        Dir1->setPath(Drive1->Drive());
    } catch (const KovexError& error) {
        // The game folder stays; the drive list goes back to the folder's drive.
        Drive1->showDriveOf(Dir1->Path());
        m_errors.report(error);
    }
}

void Form2::Command3_Click() {
    if (List1->ListIndex() >= 0)
        List1->RemoveItem(List1->ListIndex());
}

void Form2::suggestGameFolder(const QString& path) {
    m_suggested = path;
    if (isVisible() && !Dir1->isChosen())
        Dir1->showSuggested(path);
}

void Form2::setConfigurationFiles(std::shared_ptr<const ConfigurationFiles> files) {
    if (!files)
        files = std::make_shared<const ConfigurationFiles>(m_settings.files().configsFolder());
    static_cast<QStringListModel*>(m_completer->model())->setStringList(files->names());
    List1->setConfigurationFiles(std::move(files));
}

QStringList Form2::addConfigurations(const QStringList& paths) {
    const QStringList names = m_configurationsMenu->takeIntoConfigs(paths);
    for (const QString& name : names)
        if (!List1->items().contains(name))
            List1->AddItem(name);
    setConfigurationFiles();
    return names;
}

bool Form2::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text1 && event->type() == QEvent::FocusIn)
        setConfigurationFiles();
    return QWidget::eventFilter(watched, event);
}

void Form2::showEvent(QShowEvent* event) {
    setConfigurationFiles();
    if (!Dir1->isChosen() && !m_suggested.isEmpty() && QFileInfo(m_suggested).isDir())
        Dir1->showSuggested(m_suggested);
    // The order laid out.
    const QList<QWidget*> order{Command1, Drive1, Dir1, List1, Text1, Command2, Check1, Command3};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    QWidget::showEvent(event);
}

void Form2::Command1_Click() {
    // What the list shows is now the game folder, chosen or not before.
    Dir1->confirm();
    // A failed save keeps the window open, so nothing the user entered is hidden away.
    if (Check1->isChecked() && !m_errors.runHandler([this] { m_settings.SaveSettings(); }))
        return;
    hide();
}
