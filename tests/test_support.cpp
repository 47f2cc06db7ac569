#include "test_support.h"

#include "config_window/form2.h"
#include "controls/list_box.h"
#include "main_window/form1.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

Harness::Harness(const QString& parentFolder)
    : appDir((parentFolder.isEmpty() ? QDir::tempPath() : parentFolder) +
             QStringLiteral("/kovex-app-XXXXXX")) {
    app = std::make_unique<KovexApp>(appDir.path());
    app->errorReport().setCapture([this](const KovexError& error) { errors.append(error); });
    app->errorReport().setAnswer([this](const QString& question) {
        questions.append(question);
        return answerYes;
    });
    app->errorReport().setNotice([this](const QString& text) { notices.append(text); });
    // No game is looked for in the home folder of whoever runs the tests.
    app->setGamePlaces([] { return QStringList(); });
}

void Harness::start() {
    app->start();
    QVERIFY(QTest::qWaitForWindowExposed(&app->form1()));
}

QString Harness::appPath(const QString& name) const {
    return appDir.filePath(name);
}

Form1& Harness::form1() {
    return app->form1();
}

Form2& Harness::form2() {
    return app->form2();
}

GameFixture::GameFixture(Harness& harness, const QString& gameFolder)
    : h(harness), game(gameFolder.isEmpty() ? ownGame.path() : gameFolder) {
    QVERIFY(QDir(game).mkpath("Mechdata"));
    QVERIFY(QDir(h.appDir.path()).mkpath("configs"));
    writeFile(unit("WHM-6K_Warhammer"), kOriginalWarhammer);
    writeFile(unit("MAD-3R_Marauder"), kOriginalMarauder);
    writeFile(config("Atlas"), "atlas bytes\r\n");
    writeFile(config("Locust"), QByteArray("locust\0bytes", 12));
}

QString GameFixture::unit(const QString& name) const {
    return game + "/Mechdata/" + name + ".txt";
}

QString GameFixture::config(const QString& name) const {
    return h.appPath("configs/" + name + ".txt");
}

void GameFixture::start() {
    h.writeAppFile("Konfigs.ini", game.toUtf8() + "\r\n");
    h.writeAppFile("units.ini", "Atlas\r\nLocust\r\n");
    h.start();
}

void GameFixture::applyWith(const QString& player, const QString& computer) {
    h.form1().player->setText(player);
    h.form1().computer->setText(computer);
    QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
}

void GameFixture::applyTheDefaults() {
    QTest::mouseClick(h.form1().Command3, Qt::LeftButton);
    QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
}

void GameFixture::fill(QPushButton* slotButton, int row) {
    clickRow(h.form1().List1, row);
    QTest::mouseClick(slotButton, Qt::LeftButton);
}

void GameFixture::expectGameUntouched() const {
    QCOMPARE(unitBytes("WHM-6K_Warhammer"), kOriginalWarhammer);
    QCOMPARE(unitBytes("MAD-3R_Marauder"), kOriginalMarauder);
}

QString GameFixture::kept(const QString& unit, int number) const {
    return keptFolderOf(game) + "/" + unit +
           (number > 1 ? QString(" (%1)").arg(number) : QString()) + ".txt";
}

void clickRow(ListBox* list, int row) {
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

void chooseDateiItem(Form1& form, QAction* item) {
    QMenuBar* bar = form.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {},
                      bar->actionGeometry(form.Datei->menuAction()).center());
    QTRY_VERIFY(form.Datei->isVisible());
    QTest::mouseClick(form.Datei, Qt::LeftButton, {}, form.Datei->actionGeometry(item).center());
    QTRY_VERIFY(!form.Datei->isVisible());
}

void clickMenuBarCommand(Form1& form, QAction* command) {
    QMenuBar* bar = form.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(command).center());
}

void addName(Form2& form, const QString& name) {
    form.Text1->clear();
    QTest::keyClicks(form.Text1, name);
    QTest::mouseClick(form.Command2, Qt::LeftButton);
}

void renderToPng(QWidget* window, const QString& name) {
    QDir().mkpath(QStringLiteral(KOVEX_SCREENSHOT_DIR));
    const QString path = QStringLiteral(KOVEX_SCREENSHOT_DIR) + QLatin1Char('/') + name;
    const QImage picture = window->grab().toImage();
    QCOMPARE(picture.size(), window->size());
    QVERIFY(picture.save(path));
}

QProcessEnvironment offscreenEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}
