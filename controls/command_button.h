#pragma once

#include <QPushButton>

// A push button that is never the window's default or cancel button.
class CommandButton : public QPushButton {
public:
    CommandButton(const QString& text, const QFont& font, Qt::FocusPolicy focus, QWidget* parent)
        : QPushButton(text, parent) {
        setFont(font);
        setAutoDefault(false);
        setDefault(false);
        setFocusPolicy(focus);
    }
};
