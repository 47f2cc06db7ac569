#pragma once

#include <QColor>
#include <QPalette>
#include <functional>

class QMenuBar;

// What each system draws its own way (system_look_posix.cpp, system_look_win.cpp).
namespace system_look {

// The text colour of an inactive window's title bar. Windows names it (COLOR_INACTIVECAPTIONTEXT);
// elsewhere the muted grey that the palette gives inactive text stands in.
QColor inactiveTitleBarText(const QPalette& palette);

// Windows draws menus in the system's menu font. The program's style and font both reset it:
// this keeps the menu fonts as they are now, and the function it gives puts them back.
std::function<void()> keepMenuFonts();
// A menu bar in the system's menu font where the system draws menu bars so; else it stays in
// its window's font.
void useSystemMenuFont(QMenuBar* bar);

} // namespace system_look
