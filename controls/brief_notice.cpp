#include "brief_notice.h"

#include <QAccessible>

BriefNotice::BriefNotice(QWidget* parent) : QLabel(parent, Qt::ToolTip) {
    // As the system's tool tips look.
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setMargin(4);
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setAccessibleName(QStringLiteral("Meldung"));
    m_hide.setSingleShot(true);
    connect(&m_hide, &QTimer::timeout, this, &QWidget::hide);
}

void BriefNotice::showBelow(QWidget* anchor, const QString& text, int milliseconds) {
    setText(text);
    setFixedWidth(qMax(anchor->width(), 260));
    adjustSize();
    move(anchor->mapToGlobal(QPoint(0, anchor->height() + 2)));
    show();
    raise();
    // A label named by its role says its text nowhere else: a screen reader reads it from here.
    setAccessibleDescription(text);
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
    m_hide.start(milliseconds);
}
