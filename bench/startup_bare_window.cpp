// The floor: a bare Qt program that shows one empty main window of KOVEX's size and ends.
// With the argument "text" the window shows one line of text, which costs the font system's
// start-up that every window with text pays.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.menuBar(); // same frame as KOVEX: a menu bar above the client area
    auto* client = new QWidget(&window);
    client->setFixedSize(538, 323);
    window.setCentralWidget(client);
    if (QCoreApplication::arguments().value(1) == QLatin1String("text"))
        new QLabel(QStringLiteral("KOVEX"), client);
    window.show();
    QTimer::singleShot(0, &application, &QCoreApplication::quit);
    return application.exec();
}
