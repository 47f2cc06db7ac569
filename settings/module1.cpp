#include "module1.h"

#include "app/kovex_app.h"
#include "app/list_box.h"
#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "file_system_object.h"
#include "kovex_error.h"
#include "main_window/form1.h"
#include "text_stream.h"

#include <QDir>

Module1::Module1(KovexApp& app) : m_app(app) {}

QString Module1::konfigsPath() const {
    return m_app.appFolder() + QStringLiteral("/Konfigs.ini");
}

QString Module1::unitsPath() const {
    return m_app.appFolder() + QStringLiteral("/units.ini");
}

QString Module1::configsFolder() const {
    return m_app.appFolder() + QStringLiteral("/configs");
}

void Module1::WriteKonfigs() {
    auto fso = m_app.createFileSystemObject();
    auto stream = fso->OpenTextFile(konfigsPath(), IOMode::ForWriting, true);
    stream->WriteLine(QDir::toNativeSeparators(m_app.form2().Dir1->Path()));
    stream->WriteLine(QDir::toNativeSeparators(configsFolder()));
    stream->Close();
}

void Module1::WriteUnits() {
    auto fso = m_app.createFileSystemObject();
    auto stream = fso->OpenTextFile(unitsPath(), IOMode::ForWriting, true);
    const ListBox& names = *m_app.form2().List1;
    for (int i = 0; i < names.ListCount(); ++i)
        stream->WriteLine(names.List(i));
    stream->Close();
}

void Module1::ReadSettings() {
    auto fso = m_app.createFileSystemObject();
    // A failure here is not absorbed: without Konfigs.ini nothing else can be trusted.
    auto konfigs = fso->OpenTextFile(konfigsPath(), IOMode::ForReading, true);

    // One failure per call is absorbed silently: an unusable stored folder, or one failed
    // attempt at units.ini, which is then read once more from the start.
    bool recoveryTaken = false;
    try {
        applyStoredGameFolder(*konfigs);
    } catch (const KovexError&) {
        recoveryTaken = true;
    }

    LineList names;
    for (;;) {
        try {
            names = readNames(*fso);
            break;
        } catch (const KovexError&) {
            if (recoveryTaken)
                throw;
            recoveryTaken = true;
        }
    }

    // The lists change only once all names are in: a failed read leaves them as they were.
    Form1& main = m_app.form1();
    Form2& config = m_app.form2();
    main.List1->Clear();
    config.List1->Clear();
    config.List1->AddItems(names);
    main.List1->AddItems(names);
    konfigs->Close();
}

void Module1::SaveSettings() {
    WriteKonfigs();
    WriteUnits();
    ReadSettings();
}

void Module1::applyStoredGameFolder(TextStream& konfigs) {
    DirListBox& dir = *m_app.form2().Dir1;
    const QString gameFolder = konfigs.ReadLine();
    // An empty first line stores no game folder.
    if (gameFolder.isEmpty())
        return;
    dir.setPath(QDir::fromNativeSeparators(gameFolder));
}

LineList Module1::readNames(FileSystemObject& fso) {
    auto units = fso.OpenTextFile(unitsPath(), IOMode::ForReading, true);
    LineList names = units->ReadRemainingLines();
    units->Close();
    return names;
}
