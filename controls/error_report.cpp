#include "error_report.h"

#include "files/kovex_error.h"

#include <QMessageBox>
#include <QPushButton>

void ErrorReport::report(const KovexError& error) {
    if (m_capture)
        return m_capture(error);
    QMessageBox::critical(
        boxParent(), QStringLiteral("KOVEX"),
        QStringLiteral("Laufzeitfehler '%1':\n\n%2").arg(error.number()).arg(error.description()));
}

bool ErrorReport::askYesNo(const QString& question) {
    if (m_answer)
        return m_answer(question);
    QMessageBox box(QMessageBox::Question, QStringLiteral("KOVEX"), question, QMessageBox::NoButton,
                    boxParent());
    QPushButton* yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void ErrorReport::inform(const QString& text) {
    if (m_notice)
        return m_notice(text);
    QMessageBox::information(boxParent(), QStringLiteral("KOVEX"), text);
}

bool ErrorReport::runHandler(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const KovexError& error) {
        report(error);
        return false;
    }
}
