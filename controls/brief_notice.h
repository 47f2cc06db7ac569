#pragma once

#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

// A short message that shows by itself, without a click, beside a control, and goes again after
// a few seconds or at a click on it; a screen reader hears it as an alert.
class BriefNotice : public QLabel {
    Q_OBJECT
public:
    explicit BriefNotice(QWidget* parent);

    // Shows the text below the control, for the given time.
    void showBelow(QWidget* anchor, const QString& text, int milliseconds = 8000);

protected:
    void mousePressEvent(QMouseEvent* event) override {
        hide();
        event->accept();
    }

private:
    QTimer m_hide;
};
