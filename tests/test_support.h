#pragma once

#include "app/kovex_app.h"
#include "settings/kovex_error.h"

#include <QByteArray>
#include <QList>
#include <QTemporaryDir>
#include <memory>

class ListBox;
class QAction;
class QWidget;
class Form1;
class Form2;

// A program instance on a temporary application folder, with the error report captured.
class Harness {
public:
    Harness();

    // Starts the program as its entry does: main window, load handler, shown.
    void start();

    QString appPath(const QString& name) const;
    QByteArray readFile(const QString& path) const;
    void writeFile(const QString& path, const QByteArray& bytes) const;
    QByteArray readAppFile(const QString& name) const { return readFile(appPath(name)); }
    void writeAppFile(const QString& name, const QByteArray& bytes) const {
        writeFile(appPath(name), bytes);
    }

    Form1& form1();
    Form2& form2();

    QTemporaryDir appDir;
    std::unique_ptr<KovexApp> app;
    QList<KovexError> errors;
};

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
