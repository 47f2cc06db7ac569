#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>

// Writes the moment the window is up (CLOCK_MONOTONIC, in nanoseconds) to standard output, so
// that the caller measures from process start to that moment, not to the end of the exit.
inline void reportVisibleNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("visible %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stdout);
}

// Ends the program at once after the window was shown (offscreen), or, when `visible`, as soon
// as the window system reports it mapped and exposed (a real X server).
inline void endWhenShown(QWidget& window, bool visible) {
    if (!visible) {
        QTimer::singleShot(0, qApp, [] {
            reportVisibleNow();
            QCoreApplication::quit();
        });
        return;
    }
    struct ExposeWatch : QObject {
        bool reported = false;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (!reported && event->type() == QEvent::Expose &&
                static_cast<QWindow*>(watched)->isExposed()) {
                reported = true;
                reportVisibleNow();
                QCoreApplication::quit();
            }
            return false;
        }
    };
    window.windowHandle()->installEventFilter(new ExposeWatch);
}
