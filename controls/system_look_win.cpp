#include "system_look.h"

#include <QApplication>
#include <QMenuBar>

#include <windows.h>

namespace system_look {

QColor inactiveTitleBarText(const QPalette&) {
    const DWORD colour = GetSysColor(COLOR_INACTIVECAPTIONTEXT);
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

std::function<void()> keepMenuFonts() {
    const QFont menuBarFont = QApplication::font("QMenuBar");
    const QFont menuFont = QApplication::font("QMenu");
    return [=] {
        QApplication::setFont(menuBarFont, "QMenuBar");
        QApplication::setFont(menuFont, "QMenu");
    };
}

void useSystemMenuFont(QMenuBar* bar) {
    // Windows draws a window's menu bar in the system's menu font, not in the window's.
    bar->setFont(QApplication::font("QMenuBar"));
}

} // namespace system_look
