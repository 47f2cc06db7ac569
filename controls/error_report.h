#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

class KovexError;

// The run-time error report. A failure in an event handler is shown in a message box captioned
// "KOVEX" with its number and text, and the program goes on: the handler stops where it failed.
// Tests capture the reports instead of showing the box.
class ErrorReport {
public:
    using Capture = std::function<void(const KovexError&)>;

    // Reports go to the capture instead of the message box; an empty one restores the box.
    void setCapture(Capture capture) { m_capture = std::move(capture); }
    // The message box sits over this window while it is visible.
    void setParentWindow(QWidget* window) { m_parent = window; }

    void report(const KovexError& error);
    // Runs one event handler to its end; false when it failed and was reported.
    bool runHandler(const std::function<void()>& handler);

private:
    Capture m_capture;
    QPointer<QWidget> m_parent;
};
