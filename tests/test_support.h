#pragma once

#include "test_files.h"

#include "app/kovex_app.h"
#include "files/kovex_error.h"

#include <QByteArray>
#include <QList>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <memory>

class ListBox;
class QAction;
class QPushButton;
class QWidget;
class Form1;
class Form2;

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
// The environment for a program started by a test: Qt's offscreen platform.
QProcessEnvironment offscreenEnvironment();
