// What only Windows has: read-only attributes, a file that another program (the running game)
// holds open, Windows' own error codes, drive letters and the system's menu font.
#include "test_support.h"

#include "config_window/dir_list_box.h"
#include "config_window/drive_list_box.h"
#include "config_window/form2.h"
#include "controls/list_box.h"
#include "files/file_system.h"
#include "main_window/form1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <windows.h>

namespace {

std::wstring wide(const QString& path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

DWORD attributesOf(const QString& path) {
    return GetFileAttributesW(wide(path).c_str());
}

void makeReadOnly(const QString& path) {
    QVERIFY(SetFileAttributesW(wide(path).c_str(), attributesOf(path) | FILE_ATTRIBUTE_READONLY));
}

QStringList temporaryFilesIn(const QString& folder) {
    return QDir(folder).entryList({"*.ini.*", "*.txt.*"},
                                  QDir::Files | QDir::Hidden | QDir::System);
}

// One row for each of the game's two unit files.
void bothUnits() {
    QTest::addColumn<QString>("unit");
    QTest::newRow("player unit") << "WHM-6K_Warhammer";
    QTest::newRow("computer unit") << "MAD-3R_Marauder";
}

// Holds a file open as a running program does that shares it for reading only.
class HeldOpen {
public:
    explicit HeldOpen(const QString& path, DWORD sharing = FILE_SHARE_READ)
        : m_handle(CreateFileW(wide(path).c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~HeldOpen() { release(); }
    bool isOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    void release() {
        if (isOpen())
            CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_handle;
};

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT

private slots:
    // Settings files are replaced read-only or not, and stay as the user marked them; a
    // read-only leftover of an earlier run is cleared away.
    void readOnlySettingsFilesAreSavedOver() {
        Harness h;
        h.writeAppFile("Konfigs.ini", "");
        h.writeAppFile("units.ini", "A\r\n");
        h.writeAppFile("units.ini.kovex-tmp.old", "half");
        for (const char* name : {"Konfigs.ini", "units.ini", "units.ini.kovex-tmp.old"})
            makeReadOnly(h.appPath(name));
        h.start();
        addName(h.form2(), "B");
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\nB\r\n"));
        QVERIFY(h.readAppFile("Konfigs.ini").endsWith("\\configs\r\n"));
        for (const char* name : {"Konfigs.ini", "units.ini"})
            QVERIFY2(attributesOf(h.appPath(name)) & FILE_ATTRIBUTE_READONLY, name);
        QCOMPARE(temporaryFilesIn(h.appDir.path()), QStringList());
    }

    // A unit file marked read-only is the user's refusal: nothing changes, neither unit nor
    // configs, and nothing is left behind.
    void readOnlyUnitFileIsRefusedBeforeAnythingChanges_data() { bothUnits(); }
    void readOnlyUnitFileIsRefusedBeforeAnythingChanges() {
        QFETCH(QString, unit);
        Harness h;
        GameFixture g(h);
        makeReadOnly(g.unit(unit));
        g.start();
        g.applyWith("Atlas", "Locust");
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), int(KovexError::PermissionDenied));
        QVERIFY(h.errors.first().description().endsWith(native(g.unit(unit))));
        g.expectGameUntouched();
        QCOMPARE(QDir(h.appPath("configs")).entryList(QDir::Files),
                 QStringList({"Atlas.txt", "Locust.txt"}));
        QCOMPARE(temporaryFilesIn(g.game + "/Mechdata"), QStringList());
    }

    // The running game holds a unit file open: a clear report, both units as they were; once
    // the game lets go, the same apply goes through.
    void unitFileHeldByTheGameIsReportedAndNothingChanges_data() { bothUnits(); }
    void unitFileHeldByTheGameIsReportedAndNothingChanges() {
        QFETCH(QString, unit);
        Harness h;
        GameFixture g(h);
        g.start();
        HeldOpen game(g.unit(unit));
        QVERIFY(game.isOpen());
        g.applyWith("Atlas", "Locust");
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().description(),
                 QString("Zugriff verweigert: %1 (wird gerade von einem anderen Programm benutzt)")
                     .arg(native(g.unit(unit))));
        QCOMPARE(h.errors.first().number(), 70);
        g.expectGameUntouched();
        QCOMPARE(temporaryFilesIn(g.game + "/Mechdata"), QStringList());

        game.release();
        h.errors.clear();
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(g.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        QCOMPARE(g.unitBytes("MAD-3R_Marauder"), QByteArray("locust\0bytes", 12));
    }

    // An editor holds the computer's configuration without sharing it: the apply stops before
    // the player's unit, which comes first, is replaced.
    void configurationHeldWithoutSharingIsReportedAndNothingChanges() {
        Harness h;
        GameFixture g(h);
        g.start();
        HeldOpen editor(g.config("Locust"), 0);
        QVERIFY(editor.isOpen());
        g.applyWith("Atlas", "Locust");
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), 70);
        QVERIFY(h.errors.first().description().contains("anderen Programm"));
        g.expectGameUntouched();
    }

    // Held while the file itself is being replaced (no check before it): the move's own
    // failure says the same, and the old file stays whole.
    void settingsFileHeldOpenWhileSavingIsReportedAsInUse() {
        Harness h;
        h.writeAppFile("units.ini", "A\r\n");
        h.start();
        addName(h.form2(), "B");
        HeldOpen editor(h.appPath("units.ini"));
        QVERIFY(editor.isOpen());
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), 70);
        QVERIFY2(h.errors.first().description().contains("anderen Programm"),
                 qPrintable(h.errors.first().description()));
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\n"));
        QCOMPARE(temporaryFilesIn(h.appDir.path()), QStringList());
    }

    // Another program holds a settings file without sharing it at all: one clear report at the
    // start, the window up; a later save writes neither file, so no name that was not read is
    // lost.
    void settingsFileHeldWithoutSharingAtStart() {
        Harness h;
        h.writeAppFile("Konfigs.ini", "");
        h.writeAppFile("units.ini", "A\r\n");
        HeldOpen editor(h.appPath("units.ini"), 0);
        QVERIFY(editor.isOpen());
        h.start();
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().description(),
                 QString("Zugriff verweigert: %1 (wird gerade von einem anderen Programm benutzt)")
                     .arg(native(h.appPath("units.ini"))));
        QVERIFY(h.form1().isVisible());
        editor.release();
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QCOMPARE(h.errors.size(), 2);
        QCOMPARE(h.errors.last().number(), 75);
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("A\r\n"));
    }

    // A Konfigs.ini as the classic program wrote it on Windows: a backslash path in the
    // Windows code page. It reads right, and a save writes the path the same way.
    void konfigsWrittenByTheClassicProgramReadsRight() {
        QTemporaryDir root;
        const QString game = root.filePath(QString::fromUtf8("Spiele/Velmöra Straße"));
        QVERIFY(QDir().mkpath(game + "/Mechdata"));
        QByteArray classic = native(game).toLatin1(); // ö and ß are the same in Windows-1252
        QVERIFY(classic.contains("\\Velm\xf6"
                                 "ra Stra\xdf"
                                 "e"));
        Harness h;
        h.writeAppFile("Konfigs.ini", classic + "\r\nC:\\KOVEX\\configs\r\n");
        h.start();
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(h.form2().Dir1->Path(), game);
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QVERIFY(h.readAppFile("Konfigs.ini").startsWith(native(game).toUtf8() + "\r\n"));
    }

    // Windows' own codes for what errno says elsewhere.
    void windowsErrorCodes_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("number");
        QTest::newRow("disk full") << int(ERROR_DISK_FULL) << 61;
        QTest::newRow("handle disk full") << int(ERROR_HANDLE_DISK_FULL) << 61;
        QTest::newRow("access denied") << int(ERROR_ACCESS_DENIED) << 70;
        QTest::newRow("write protected") << int(ERROR_WRITE_PROTECT) << 70;
        QTest::newRow("sharing violation") << int(ERROR_SHARING_VIOLATION) << 70;
        QTest::newRow("file not found") << int(ERROR_FILE_NOT_FOUND) << 53;
        QTest::newRow("path not found") << int(ERROR_PATH_NOT_FOUND) << 76;
        QTest::newRow("drive not ready") << int(ERROR_NOT_READY) << 68;
        QTest::newRow("CRC") << int(ERROR_CRC) << 57;
        QTest::newRow("anything else") << int(ERROR_INVALID_NAME) << 75;
    }
    void windowsErrorCodes() {
        QFETCH(int, code);
        QFETCH(int, number);
        SetLastError(DWORD(code)); // as the failing call left it
        const KovexError error = file_system::lastError("C:/Spiele/units.ini");
        QCOMPARE(error.number(), number);
        QVERIFY(error.description().contains("C:\\Spiele\\units.ini"));
    }

    // Windows draws a menu bar in the system's menu font, whatever the window's font is.
    void menuBarInTheSystemMenuFontOnWindows() {
        const QFont systemMenuFont("Courier New", 11);
        QApplication::setFont(systemMenuFont, "QMenuBar");
        Harness h;
        h.start();
        QApplication::setFont(QApplication::font(), "QMenuBar");
        QCOMPARE(h.form1().menuBar()->font().family(), systemMenuFont.family());
        QCOMPARE(h.form1().menuBar()->font().pointSizeF(), 11.0);
        QCOMPARE(h.form1().font().pointSizeF(), 8.25);
    }

    // With the current folder on one drive the list shows that drive; choosing another makes
    // that drive's current folder the game folder, stored as Windows writes a path.
    void drivesAreLetters() {
        const QString before = QDir::currentPath();
        QVERIFY(before.startsWith("Z:/", Qt::CaseInsensitive));
        Harness h;
        h.start();
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        Form2& f = h.form2();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.Drive1->Drive(), QString("Z:"));
        QVERIFY(f.Dir1->Path().startsWith("Z:/", Qt::CaseInsensitive));
        QVERIFY(f.Drive1->findText("C:") >= 0);
        QCOMPARE(f.Dir1->tree()->topLevelItem(0)->text(0).toUpper(), QString("Z:\\"));

        // Another drive: its current folder, and the folder list on it.
        f.Drive1->setFocus();
        while (f.Drive1->Drive() != "C:")
            QTest::keyClick(f.Drive1, f.Drive1->currentIndex() > f.Drive1->findText("C:")
                                          ? Qt::Key_Up
                                          : Qt::Key_Down);
        QVERIFY(h.errors.isEmpty());
        QVERIFY2(f.Dir1->Path().startsWith("C:/", Qt::CaseInsensitive), qPrintable(f.Dir1->Path()));
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QVERIFY2(h.readAppFile("Konfigs.ini").toUpper().startsWith("C:\\"),
                 h.readAppFile("Konfigs.ini").constData());

        // Back on the program's drive after a restart: the stored folder on C:, the drive list
        // on the current drive.
        Harness again;
        again.writeAppFile("Konfigs.ini", h.readAppFile("Konfigs.ini"));
        again.start();
        chooseDateiItem(again.form1(), again.form1().Konfigurieren);
        QVERIFY(again.form2().Dir1->Path().startsWith("C:/", Qt::CaseInsensitive));
        QCOMPARE(again.form2().Drive1->Drive(), QString("Z:"));
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_platform_win.moc"
