// The real program's start-up (windows, ReadSettings) on the application folder named by the
// first argument; it ends as soon as the main window has been shown.
#include "app/kovex_app.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    KovexApp kovex(QCoreApplication::arguments().value(1));
    kovex.start();
    QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return application.exec();
}
