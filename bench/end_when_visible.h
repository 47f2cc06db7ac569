#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

// Ends the program at once after the window was shown (offscreen), or, when `visible`, as soon
// as the window system reports it mapped and exposed (a real X server).
inline void endWhenShown(QWidget& window, bool visible) {
    if (!visible) {
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return;
    }
    struct ExposeWatch : QObject {
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
                QCoreApplication::quit();
            return false;
        }
    };
    window.windowHandle()->installEventFilter(new ExposeWatch);
}
