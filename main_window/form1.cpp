#include "form1.h"

#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "controls/brief_notice.h"
#include "controls/command_button.h"
#include "controls/configurations_menu.h"
#include "controls/kovex_fonts.h"
#include "controls/static_label.h"
#include "controls/system_look.h"
#include "controls/twips.h"
#include "game/apply_assignment.h"
#include "game/unit_files.h"
#include "info_window/form3.h"
#include "settings/application_files.h"
#include "settings/configuration_files.h"

#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>

namespace {

// What the apply button does, as a screen reader hears it.
const QString kApplyDescription =
    QStringLiteral("Kopiert die Konfigurationen beider Slots in den Mechdata-Ordner des Spiels");

void bringUp(QWidget& window) {
    window.show();
    window.raise();
    window.activateWindow();
}

// What the game holds for a slot, in words.
QString describe(const UnitHolding& holding) {
    using Kind = UnitHolding::Kind;
    return holding.kind == Kind::Configuration ? QStringLiteral("„%1“").arg(holding.configuration)
           : holding.kind == Kind::GamesOwn
               ? QStringLiteral("Original des Spiels („%1“)").arg(holding.configuration)
           : holding.kind == Kind::Unknown ? QStringLiteral("unbekannt (keine der Konfigurationen)")
                                           : QStringLiteral("keine Datei");
}

} // namespace

Form1::Form1(Module1& settings, ErrorReport& errors, Form1Windows& windows)
    : m_settings(settings), m_errors(errors), m_windows(windows) {
    setWindowTitle(QStringLiteral("KOVEX"));
    setFont(kovex_fonts::standard());
    auto* client = new QWidget(this);
    client->setFixedSize(twips(8070), twips(4845));
    setCentralWidget(client);
    createControls(client);
    m_notice = new BriefNotice(this);
    // No layout logic: the window keeps the size of its client area and menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    QMenuBar* bar = menuBar();
    system_look::useSystemMenuFont(bar);
    Datei = bar->addMenu(QStringLiteral("Datei"));
    Konfigurieren =
        Datei->addAction(QStringLiteral("Konfigurieren"), this, &Form1::Konfigurieren_Click);
    Speichern = Datei->addAction(QStringLiteral("Speichern"), this, &Form1::Speichern_Click);
    Beenden = Datei->addAction(QStringLiteral("Beenden"), this, &Form1::Beenden_Click);
    Info = bar->addAction(QStringLiteral("Info"), this, &Form1::Info_Click);

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(m_configurationsMenu, &ConfigurationsMenu::filesChosen, this,
            &Form1::addConfigurations);
}

void Form1::createControls(QWidget* client) {
    Frame1 = placed(new QGroupBox(client), 120, 120, 7815, 4575, Qt::NoFocus);
    List1 = placed(new ListBox(Frame1), 120, 600, 2655, 3765);
    List1->setEmptyHint(QStringLiteral("Hierher ziehen oder Rechtsklick"));
    m_configurationsMenu = new ConfigurationsMenu(List1, m_settings.files(), m_errors);
    const QFont bold = kovex_fonts::bold();
    // The captions and the slots, all bold on the panel.
    const auto caption = [&](const QString& text) { return new StaticLabel(text, bold, Frame1); };
    Label1[0] = placed(caption(QStringLiteral("Vorhandene Mechs:")), 120, 240, 2655, 255);
    Label1[1] = placed(caption(QStringLiteral("Computer:")), 4320, 2280, 2655, 255);
    Label1[2] = placed(caption(QStringLiteral("Player:")), 4320, 600, 2655, 255);
    Command1 =
        placed(new CommandButton(QStringLiteral(">>"), font(), Frame1), 3240, 1080, 735, 255);
    Command2 =
        placed(new CommandButton(QStringLiteral(">>"), font(), Frame1), 3240, 2760, 735, 255);

    player = placed(caption(unit_files::kPlayerUnit), 4320, 1080, 3375, 375);
    QPalette colours = player->palette();
    colours.setColor(QPalette::Window, system_look::inactiveTitleBarText(colours));
    colours.setColor(QPalette::WindowText, QColor(0, 128, 0));
    player->setPalette(colours);
    computer = placed(caption(unit_files::kComputerUnit), 4320, 2760, 3375, 375);
    colours = computer->palette();
    colours.setColor(QPalette::WindowText, QColor(255, 0, 0));
    computer->setPalette(colours);
    Command3 = placed(new CommandButton(QStringLiteral("Standard wiederherstellen"), bold, Frame1),
                      3240, 3360, 2895, 375);
    Command4 = placed(new CommandButton(QStringLiteral("Konfig´s zuweisen"), bold, Frame1), 3240,
                      3960, 2895, 375);
    const QList<QWidget*> order{List1, Command1, Command2, Command3, Command4};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    // What a screen reader says of each control.
    List1->setAccessibleName(QStringLiteral("Vorhandene Mechs"));
    Command1->setAccessibleName(QStringLiteral(">> Player"));
    Command1->setAccessibleDescription(
        QStringLiteral("Setzt die gewählte Konfiguration in den Player-Slot"));
    Command2->setAccessibleName(QStringLiteral(">> Computer"));
    Command2->setAccessibleDescription(
        QStringLiteral("Setzt die gewählte Konfiguration in den Computer-Slot"));
    player->setAccessibleName(QStringLiteral("Player-Slot"));
    computer->setAccessibleName(QStringLiteral("Computer-Slot"));
    Command3->setAccessibleDescription(
        QStringLiteral("Setzt beide Slots auf die Mechs des Spiels zurück"));
    Command4->setAccessibleDescription(kApplyDescription);
}

void Form1::Konfigurieren_Click() {
    bringUp(m_windows.form2());
}

void Form1::Info_Click() {
    bringUp(m_windows.form3());
    m_windows.form3().Command1->setFocus();
}

void Form1::Command3_Click() {
    computer->setText(unit_files::kComputerUnit);
    player->setText(unit_files::kPlayerUnit);
}

void Form1::Command4_Click() {
    Form2& config = m_windows.form2();
    if (!config.Dir1->isChosen()) {
        m_errors.inform(QStringLiteral(
            "Es ist noch kein Spielordner gewählt.\n\nBitte zuerst unter „Datei“ → "
            "„Konfigurieren“ den Installationspfad von Velmora angeben und mit „OK“ bestätigen."));
        return;
    }
    std::optional<ApplyOutcome> outcome;
    m_errors.runHandler([&] {
        const auto askWithoutOriginals = [this](const QString& keptFolder) {
            return m_errors.askYesNo(
                QStringLiteral("Die eigenen Einheitendateien des Spiels können nicht im Ordner "
                               "„%1“ aufbewahrt werden.\n\nTrotzdem zuweisen?")
                    .arg(keptFolder));
        };
        outcome = applyAssignment(m_settings.files(),
                                  {config.Dir1->Path(), player->text(), computer->text()},
                                  askWithoutOriginals);
    });
    // A refusal is reported, and "Nein" to the question applies nothing: neither confirms, and
    // the game holds what it held.
    if (!outcome)
        return;
    const GameHoldings& holdings = outcome->holdings;
    showHoldings(holdings);
    QString text = QStringLiteral("Zugewiesen in %1:\nPlayer: %2\nComputer: %3")
                       .arg(QDir::toNativeSeparators(holdings.mechdata), describe(holdings.player),
                            describe(holdings.computer));
    if (!outcome->kept.isEmpty())
        text += QStringLiteral("\nAufbewahrt in %1: %2")
                    .arg(QDir::toNativeSeparators(outcome->keptIn),
                         outcome->kept.join(QStringLiteral(", ")));
    notice()->showBelow(Command4, text);
}

void Form1::addConfigurations(const QStringList& paths) {
    ListBox& known = *m_windows.form2().List1;
    const int before = known.ListCount();
    const QStringList names = m_windows.form2().addConfigurations(paths);
    if (known.ListCount() > before) // new names are saved at once
        Speichern_Click();
    showGameHoldings();
    // The last one taken is chosen, ready for a slot's ">>".
    const int row = names.isEmpty() ? -1 : int(List1->items().lastIndexOf(names.last()));
    if (row >= 0) {
        List1->setCurrentIndex(List1->model()->index(row, 0));
        List1->setFocus();
    }
}

void Form1::showGameHoldings() {
    DirListBox& folder = *m_windows.form2().Dir1;
    showHoldings(folder.isChosen() ? holdingsOf(m_settings.files().configsFolder(), folder.Path(),
                                                player->text(), computer->text())
                                   : GameHoldings());
}

void Form1::showHoldings(const GameHoldings& holdings) {
    // What configs holds, for both lists' marks and tool tips.
    const auto configurations =
        std::make_shared<const ConfigurationFiles>(m_settings.files().configsFolder());
    List1->setConfigurationFiles(configurations);
    m_windows.form2().setConfigurationFiles(configurations);
    const DirListBox& folder = *m_windows.form2().Dir1;
    const auto held = [](const UnitHolding& h) {
        return h.kind == UnitHolding::Kind::Configuration ? h.configuration : QString();
    };
    List1->setHeld(held(holdings.player), held(holdings.computer));

    const QString target =
        !folder.isChosen()
            ? QStringLiteral("Noch kein Spielordner gewählt: „Datei“ → „Konfigurieren“")
        : holdings.mechdata.isEmpty()
            ? QStringLiteral("Spielordner nicht gefunden: %1")
                  .arg(QDir::toNativeSeparators(folder.Path()))
            : QStringLiteral("Schreibt nach %1").arg(QDir::toNativeSeparators(holdings.mechdata));
    const QString inGame[2] = {
        QStringLiteral("Im Spiel für den Player: %1").arg(describe(holdings.player)),
        QStringLiteral("Im Spiel für den Computer: %1").arg(describe(holdings.computer))};
    const bool known = !holdings.mechdata.isEmpty();
    // A slot naming a configuration whose file is missing says so; the game's units stand for
    // the game's own.
    const auto missing = [&](const QString& slot) {
        return slot.isEmpty() || unit_files::kUnits.contains(slot, Qt::CaseInsensitive) ||
                       !configurations->fileOf(slot).isEmpty()
                   ? QString()
                   : QLatin1Char('\n') + configurations->describe(slot);
    };
    // Which kept file "Standard wiederherstellen" brings back, where one is kept.
    const auto restores = [](const QString& kept) {
        return kept.isEmpty() ? QString()
                              : QStringLiteral("\n„Standard wiederherstellen“ holt zurück: %1")
                                    .arg(QDir::toNativeSeparators(kept));
    };
    const QString defaults[2] = {restores(holdings.playerDefault),
                                 restores(holdings.computerDefault)};
    player->setToolTip((known ? inGame[0] : target) + defaults[0] + missing(player->text()));
    computer->setToolTip((known ? inGame[1] : target) + defaults[1] + missing(computer->text()));
    Command4->setToolTip(target + defaults[0] + defaults[1]);
    List1->setToolTip(known ? inGame[0] + QLatin1Char('\n') + inGame[1] : target);
    // A screen reader hears the same.
    player->setAccessibleDescription(player->toolTip());
    computer->setAccessibleDescription(computer->toolTip());
    Command4->setAccessibleDescription(kApplyDescription + QStringLiteral(". ") +
                                       Command4->toolTip());
    List1->setAccessibleDescription(List1->toolTip());
}

void Form1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && m_watchingGame)
        showGameHoldings();
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    m_windows.endProgram();
}
