#include "error_message_box.h"

#include "settings/kovex_error.h"

#include <QMessageBox>

void showErrorMessageBox(const KovexError& error, QWidget* parent) {
    const QString text =
        QStringLiteral("Laufzeitfehler '%1':\n\n%2").arg(error.number()).arg(error.description());
    QMessageBox::critical(parent, QStringLiteral("KOVEX"), text);
}
