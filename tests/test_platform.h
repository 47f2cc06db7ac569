#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

// What the suites shared by both systems expect differently of each, each system's in a file
// of its own (test_platform_posix.cpp, test_platform_win.cpp). Cases that exist on one system
// only live in that system's suites (tst_*_posix.cpp, tst_*_win.cpp).
namespace test_platform {

// Another spelling of the same folder, made in scratch where it needs making: a link on Linux,
// the name in capitals on Windows.
QString otherSpellingOf(const QString& folder, const QString& scratch);
// The system's colour for inactive title-bar text, the player slot's back.
QColor inactiveTitleBarText();
// Whether the menu bar is drawn in the window's own font (Linux), not the system's menu font.
bool menuBarInTheWindowFont();
// Whether the drives are named as the system names them: the root first on Linux, letters on
// Windows.
bool drivesNamedAsTheSystemDoes(const QStringList& drives);
// The file's own identity: a replaced file has a new one.
quint64 fileIdOf(const QString& path);
// Gives a file something of its own that a replace must keep (a mode of 0640 on Linux, the
// hidden attribute on Windows), and tells whether it still has it.
void markAsKept(const QString& path);
bool isStillMarked(const QString& path);

// Named pipes, and links to devices, in the file system: Linux has them, Windows does not.
bool hasNamedPipes();
// Makes a named pipe; false where there are none.
bool makeNamedPipe(const QString& path);

} // namespace test_platform
