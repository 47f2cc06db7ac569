#include "kovex_app.h"

#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "controls/accessibility.h"
#include "controls/kovex_fonts.h"
#include "controls/kovex_icon.h"
#include "controls/list_box.h"
#include "controls/system_look.h"
#include "info_window/form3.h"
#include "settings/file_system_object.h"
#include "settings/module1.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QStyleFactory>

KovexApp::KovexApp(const QString& appFolder)
    : m_module1(std::make_unique<Module1>(appFolder, *this)) {
    // The system's menu fonts, kept past the style and the program's own font.
    const auto restoreMenuFonts = system_look::keepMenuFonts();
    kovex_fonts::installSubstitutes();
    installAccessibility();
    // The windows are drawn for the classic look: flat frames, plain buttons.
    if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(classic);
    QApplication::setWindowIcon(kovexIcon());
    // Message boxes use the windows' font too, and so do menus where the system has no font
    // of its own for them.
    QApplication::setFont(kovex_fonts::standard());
    restoreMenuFonts();
}

KovexApp::~KovexApp() = default;

void KovexApp::start() {
    Form1& main = form1();
    main.Form_Load();
    main.show();
    main.List1->setFocus();
}

void KovexApp::endProgram() {
    if (m_form3)
        m_form3->hide();
    if (m_form2)
        m_form2->hide();
    if (m_form1)
        m_form1->hide();
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
    if (!m_form2)
        m_form2 = std::make_unique<Form2>(*m_module1, m_errorReport);
    return *m_form2;
}

Form3& KovexApp::form3() {
    if (!m_form3)
        m_form3 = std::make_unique<Form3>();
    return *m_form3;
}

void KovexApp::setFileSystemFactory(FileSystemFactory factory) {
    m_module1->setFileSystemFactory(std::move(factory));
}

void KovexApp::loadConfigurationWindow() {
    form2();
}

QString KovexApp::gameFolder() {
    return form2().Dir1->Path();
}

void KovexApp::setGameFolder(const QString& folder) {
    form2().Dir1->setStoredPath(folder);
}

LineList KovexApp::knownConfigurations() {
    return form2().List1->lines();
}

bool KovexApp::askYesNo(const QString& question) {
    return m_errorReport.askYesNo(question);
}

void KovexApp::showKnownConfigurations(const LineList& names) {
    ListBox& main = *form1().List1;
    ListBox& config = *form2().List1;
    main.Clear();
    config.Clear();
    config.AddItems(names);
    main.AddItems(names);
}
