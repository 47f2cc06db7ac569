#include "system_look.h"

namespace system_look {

QColor inactiveTitleBarText(const QPalette& palette) {
    return palette.color(QPalette::Disabled, QPalette::WindowText);
}

std::function<void()> keepMenuFonts() {
    // Menus are drawn in the program's font here.
    return [] {};
}

void useSystemMenuFont(QMenuBar*) {}

} // namespace system_look
