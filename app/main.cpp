#include "kovex_app.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    KovexApp kovex(QCoreApplication::applicationDirPath());
    kovex.start();
    return application.exec();
}
