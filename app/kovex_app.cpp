#include "kovex_app.h"

#include "desktop_entry.h"

#include "controls/accessibility.h"
#include "controls/kovex_fonts.h"
#include "controls/system_look.h"
#include "game/game_finder.h"
#include "game/game_places.h"
#include "info_window/form3.h"
#include "settings/module1.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>

KovexApp::KovexApp(const QString& appFolder)
    : m_files(appFolder), m_module1(std::make_unique<Module1>(m_files, *this)) {
    // The system's menu fonts, kept past the style and the program's own font.
    const auto restoreMenuFonts = system_look::keepMenuFonts();
    kovex_fonts::installSubstitutes(appFolder + QStringLiteral("/fonts"));
    installAccessibility();
    // The windows are drawn for the classic look: flat frames, plain buttons.
    if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(classic);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kovex.png")));
    // Message boxes use the windows' font too, and so do menus where the system has no font
    // of its own for them.
    QApplication::setFont(kovex_fonts::standard());
    restoreMenuFonts();
}

KovexApp::~KovexApp() = default;

namespace {

// Calls the function once, a moment after the window was first painted: work that is not
// needed for the first frame stays out of its way.
void afterFirstPainted(QWidget& window, std::function<void()> call) {
    struct FirstPaint : QObject {
        std::function<void()> call;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                watched->removeEventFilter(this);
                QTimer::singleShot(10, watched, call);
                deleteLater();
            }
            return false;
        }
    };
    auto* watch = new FirstPaint;
    watch->setParent(&window); // goes with the window where it was never painted
    watch->call = std::move(call);
    window.installEventFilter(watch);
}

} // namespace

void KovexApp::start() {
    Form1& main = form1();
    main.Form_Load();
    afterFirstPainted(main, [this] { windowIsUp(); });
    main.show();
    main.List1->setFocus();
}

void KovexApp::windowIsUp() {
    m_windowUp = true;
    refreshBundleDesktopEntry(m_files.folder());
    form1().watchGame();
    form1().showGameHoldings();
    if (form2().Dir1->isChosen())
        return;
    m_finder = std::make_unique<GameFinder>();
    QObject::connect(m_finder.get(), &GameFinder::found, &form2(), [this](const QString& game) {
        if (!game.isEmpty())
            form2().suggestGameFolder(game);
    });
    m_finder->start(m_gamePlaces ? m_gamePlaces
                                 : [] { return game_places::usualPlaces(QDir::homePath()); });
}

void KovexApp::endProgram() {
    QWidget* const windows[] = {m_form3.get(), m_form2.get(), m_form1.get()};
    for (QWidget* window : windows)
        if (window)
            window->hide();
    QCoreApplication::quit();
}

Form1& KovexApp::form1() {
    if (!m_form1) {
        m_form1 = std::make_unique<Form1>(*m_module1, m_errorReport, *this);
        m_errorReport.setParentWindow(m_form1.get());
    }
    return *m_form1;
}

Form2& KovexApp::form2() {
    if (!m_form2) {
        m_form2 = std::make_unique<Form2>(*m_module1, m_errorReport);
        // Another game folder: what it holds is shown at once, once the main window is up.
        // A turn of its own, so that a large folder's list and the game's files are not looked
        // at in one go.
        QObject::connect(m_form2->Dir1, &DirListBox::pathChanged, m_form2.get(), [this] {
            QTimer::singleShot(0, m_form2.get(), [this] {
                if (m_windowUp)
                    form1().showGameHoldings();
            });
        });
    }
    return *m_form2;
}

Form3& KovexApp::form3() {
    if (!m_form3)
        m_form3 = std::make_unique<Form3>();
    return *m_form3;
}

void KovexApp::showKnownConfigurations(const QStringList& names) {
    form1().List1->Clear();
    form2().List1->Clear();
    form2().List1->AddItems(names);
    form1().List1->AddItems(names);
}
