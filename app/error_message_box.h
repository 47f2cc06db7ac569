#pragma once

class KovexError;
class QWidget;

// The run-time error report: a message box captioned "KOVEX" with the number and the text.
void showErrorMessageBox(const KovexError& error, QWidget* parent);
