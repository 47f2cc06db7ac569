#pragma once

#include "app/kovex_app.h"
#include "files/kovex_error.h"

#include <QByteArray>
#include <QList>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <memory>

// A case that needs what only Linux offers says so on Windows and skips: named pipes and
// devices in the file system, symbolic links (QFile::link makes a shortcut there), Unix owners
// and modes, mount namespaces, strace and setpriv.
#ifdef Q_OS_WIN
#define SKIP_ON_WINDOWS(why) QSKIP("Linux only: " why)
#else
#define SKIP_ON_WINDOWS(why) static_cast<void>(0)
#endif

class ListBox;
class QAction;
class QPushButton;
class QWidget;
class Form1;
class Form2;

QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);

// A program instance on a temporary application folder, with the error report captured and
// every question answered (by answerYes) and recorded: no test waits on a box nobody sees.
class Harness {
public:
    // The application folder is a new folder in the given one, or in the temporary folder.
    explicit Harness(const QString& parentFolder = {});

    // Starts the program as its entry does: main window, load handler, shown.
    void start();

    QString appPath(const QString& name) const;
    QByteArray readAppFile(const QString& name) const { return readFile(appPath(name)); }
    void writeAppFile(const QString& name, const QByteArray& bytes) const {
        writeFile(appPath(name), bytes);
    }

    Form1& form1();
    Form2& form2();

    QTemporaryDir appDir;
    std::unique_ptr<KovexApp> app;
    QList<KovexError> errors;
    QStringList questions;
    QStringList notices;
    bool answerYes = false;
};

// The game's own unit files, as a fresh installation has them.
extern const QByteArray kOriginalWarhammer;
extern const QByteArray kOriginalMarauder;

// A game folder with the game's two units, and configurations "Atlas" and "Locust" in
// configs. Nothing is started.
class GameFixture {
public:
    explicit GameFixture(Harness& harness, const QString& gameFolder = {});

    QString unit(const QString& name) const;   // the game's Mechdata/<name>.txt
    QString config(const QString& name) const; // configs/<name>.txt
    QByteArray unitBytes(const QString& name) const { return readFile(unit(name)); }
    // Starts the program with this game folder stored.
    void start();
    // Puts the names into the slots and presses "Konfig´s zuweisen".
    void applyWith(const QString& player, const QString& computer);
    // Presses "Standard wiederherstellen", then "Konfig´s zuweisen".
    void applyTheDefaults();
    // Selects a row of the main window's list and presses a slot's ">>".
    void fill(QPushButton* slotButton, int row);
    void expectGameUntouched() const;
    // The game's own unit as kept for this game, or another content kept (number 2, 3, ...).
    QString kept(const QString& unit, int number = 1) const;

    Harness& h;
    QTemporaryDir ownGame;
    QString game;
};

// The one folder of kept unit files in the application folder's configs; "<none>" or "<several>"
// where there is not exactly one.
QString keptFolderIn(const QString& appFolder);

// A path as the program writes and shows it: with the platform's separators.
QString native(const QString& path);
// The bytes of a settings file holding these lines.
QByteArray crlfLines(const QStringList& lines);
// Clicks on a list's row as a user would.
void clickRow(ListBox* list, int row);
// Chooses an item of the main window's "Datei" menu with the mouse.
void chooseDateiItem(Form1& form, QAction* item);
// Clicks a command that sits on the main window's menu bar itself.
void clickMenuBarCommand(Form1& form, QAction* command);
// Adds a name in the configuration window by typing it and pressing "^ ".
void addName(Form2& form, const QString& name);
// Saves the window's picture next to the build, for looking at.
void renderToPng(QWidget* window, const QString& name);
// Makes a named pipe (Linux only).
bool makeNamedPipe(const QString& path);
// The environment for a program started by a test: Qt's offscreen platform.
QProcessEnvironment offscreenEnvironment();
