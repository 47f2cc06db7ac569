#include "application_folder.h"
#include "kovex_app.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    KovexApp kovex(applicationFolder());
    kovex.start();
    return application.exec();
}
