#pragma once

#include <QKeyEvent>
#include <QPushButton>

// A push button that is never the window's default or cancel button. Enter presses it while it
// has the focus, as Space does, as on the platform the program comes from; Enter elsewhere
// presses no button.
class CommandButton : public QPushButton {
public:
    CommandButton(const QString& text, const QFont& font, QWidget* parent)
        : QPushButton(text, parent) {
        setFont(font);
        setAutoDefault(false);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
            click();
        else
            QPushButton::keyPressEvent(event);
    }
};
