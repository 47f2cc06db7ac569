#include "test_support.h"

#include "app/list_box.h"
#include "config_window/form2.h"
#include "main_window/form1.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

Harness::Harness() {
    app = std::make_unique<KovexApp>(appDir.path());
    app->setErrorReport([this](const KovexError& error) { errors.append(error); });
}

void Harness::start() {
    app->start();
    QVERIFY(QTest::qWaitForWindowExposed(&app->form1()));
}

QString Harness::appPath(const QString& name) const {
    return appDir.filePath(name);
}

QByteArray Harness::readFile(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return file.readAll();
}

void Harness::writeFile(const QString& path, const QByteArray& bytes) const {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

Form1& Harness::form1() {
    return app->form1();
}

Form2& Harness::form2() {
    return app->form2();
}

QByteArray crlfLines(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
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
    QVERIFY(window->grab().save(path));
}
