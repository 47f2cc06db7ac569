#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

class KovexError;

// The run-time error report. A failure in an event handler is shown in a message box captioned
// "KOVEX" with its number and text, and the program goes on: the handler stops where it failed.
// Also the program's questions, boxes captioned "KOVEX" with "&Ja" and "&Nein", and its notices
// in plain words. Tests capture reports, answer questions and collect notices instead of
// showing the boxes.
class ErrorReport {
public:
    using Capture = std::function<void(const KovexError&)>;
    using Answer = std::function<bool(const QString& question)>;
    using Notice = std::function<void(const QString& text)>;

    // Reports go to the capture instead of the message box; an empty one restores the box.
    void setCapture(Capture capture) { m_capture = std::move(capture); }
    // The message box sits over this window while it is visible.
    void setParentWindow(QWidget* window) { m_parent = window; }

    // Questions go to the answer instead of the box; an empty one restores the box.
    void setAnswer(Answer answer) { m_answer = std::move(answer); }
    // Notices go to the given one instead of the box; an empty one restores the box.
    void setNotice(Notice notice) { m_notice = std::move(notice); }

    void report(const KovexError& error);
    // True for "Ja"; "Nein" is the default button.
    bool askYesNo(const QString& question);
    // Tells the user something in plain words, in a box captioned "KOVEX" with "OK".
    void inform(const QString& text);
    // Runs one event handler to its end; false when it failed and was reported.
    bool runHandler(const std::function<void()>& handler);

private:
    // The boxes sit over the parent window while it is visible, else they stand alone.
    QWidget* boxParent() const {
        return m_parent && m_parent->isVisible() ? m_parent.data() : nullptr;
    }

    Capture m_capture;
    Answer m_answer;
    Notice m_notice;
    QPointer<QWidget> m_parent;
};
