// The floor: a bare Qt program that shows one main window of KOVEX's size with a menu bar and
// ends. With the argument "text" the window shows one line of text in Liberation Sans, which
// costs the font system's start-up that every window with text pays. With "visible" it ends
// when the window system shows the window, not when it has been asked to.
#include "end_when_visible.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QMainWindow window;
    window.menuBar(); // same frame as KOVEX: a menu bar above the client area
    auto* client = new QWidget(&window);
    client->setFixedSize(538, 323);
    window.setCentralWidget(client);
    if (args.contains(QLatin1String("text"))) {
        auto* label = new QLabel(QStringLiteral("KOVEX"), client);
        label->setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    }
    window.show();
    endWhenShown(window, args.contains(QLatin1String("visible")));
    return application.exec();
}
