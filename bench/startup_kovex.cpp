// The real program's start-up (windows, ReadSettings) on the application folder named by the
// first argument; it ends as soon as the main window has been shown, or with the second
// argument "visible" as soon as the window system shows it.
#include "app/kovex_app.h"
#include "end_when_visible.h"
#include "main_window/form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    KovexApp kovex(QCoreApplication::arguments().value(1));
    kovex.start();
    endWhenShown(kovex.form1(), QCoreApplication::arguments().value(2) == QLatin1String("visible"));
    return application.exec();
}
