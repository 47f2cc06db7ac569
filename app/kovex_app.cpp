#include "kovex_app.h"

#include "config_window/form2.h"
#include "error_message_box.h"
#include "info_window/form3.h"
#include "kovex_fonts.h"
#include "list_box.h"
#include "main_window/form1.h"
#include "settings/file_system_object.h"
#include "settings/kovex_error.h"
#include "settings/module1.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QStyleFactory>

KovexApp::KovexApp(const QString& appFolder)
    : m_appFolder(appFolder),
      m_fileSystemFactory([] { return std::make_unique<FileSystemObject>(); }),
      m_module1(std::make_unique<Module1>(*this)) {
    kovex_fonts::installSubstitutes();
    // The windows are drawn for the classic look: flat frames, plain buttons.
    if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows")))
        QApplication::setStyle(classic);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/kovex.png")));
    // Menus and message boxes use the windows' font too.
    QApplication::setFont(kovex_fonts::standard());
}

KovexApp::~KovexApp() {
    m_form3.reset();
    m_form2.reset();
    m_form1.reset();
}

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
    if (!m_form1)
        m_form1 = std::make_unique<Form1>(*this);
    return *m_form1;
}

Form2& KovexApp::form2() {
    if (!m_form2)
        m_form2 = std::make_unique<Form2>(*this);
    return *m_form2;
}

Form3& KovexApp::form3() {
    if (!m_form3)
        m_form3 = std::make_unique<Form3>();
    return *m_form3;
}

std::unique_ptr<FileSystemObject> KovexApp::createFileSystemObject() const {
    return m_fileSystemFactory();
}

void KovexApp::setFileSystemFactory(FileSystemFactory factory) {
    m_fileSystemFactory = std::move(factory);
}

void KovexApp::setErrorReport(ErrorReport report) {
    m_errorReport = std::move(report);
}

void KovexApp::runHandler(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const KovexError& error) {
        report(error);
    }
}

void KovexApp::report(const KovexError& error) {
    if (m_errorReport) {
        m_errorReport(error);
        return;
    }
    showErrorMessageBox(error, m_form1 && m_form1->isVisible() ? m_form1.get() : nullptr);
}
