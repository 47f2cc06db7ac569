#include "static_label.h"

StaticLabel::StaticLabel(const QString& text, const QFont& font, QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    // Also leaves the label without focus.
    setTextInteractionFlags(Qt::NoTextInteraction);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    setAutoFillBackground(true);
    setFont(font);
    setText(text);
}
