// Filling the slots and applying them to a game folder, checked on the unit files' bytes.
#include "test_support.h"

#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "controls/list_box.h"
#include "files/file_system_object.h"
#include "main_window/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The game's folder and unit files as a game under Wine may spell them.
void respell(const GameFixture& g, const QString& player, const QString& computer) {
    QVERIFY(QDir(g.game).rename("Mechdata", "MECHDATA"));
    QVERIFY(
        QFile::rename(g.game + "/MECHDATA/WHM-6K_Warhammer.txt", g.game + "/MECHDATA/" + player));
    QVERIFY(
        QFile::rename(g.game + "/MECHDATA/MAD-3R_Marauder.txt", g.game + "/MECHDATA/" + computer));
}

} // namespace

class ApplyTest : public QObject {
    Q_OBJECT

private slots:
    void fillingAndRestoringSlots() {
        Harness h;
        GameFixture s(h);
        s.start();
        Form1& f = h.form1();
        s.fill(f.Command1, 1);
        QCOMPARE(f.player->text(), QString("Locust"));
        // The selection stays, so the other ">>" puts the same name into the other slot.
        QCOMPARE(f.List1->ListIndex(), 1);
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        QCOMPARE(f.computer->text(), QString("Locust"));

        QTest::mouseClick(f.Command3, Qt::LeftButton);
        QCOMPARE(f.player->text(), QString("WHM-6K_Warhammer"));
        QCOMPARE(f.computer->text(), QString("MAD-3R_Marauder"));
        QCOMPARE(f.List1->items(), QStringList({"Atlas", "Locust"}));

        // Right after a save nothing is selected: ">>" empties its slot.
        chooseDateiItem(f, f.Speichern);
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QCOMPARE(f.player->text(), QString());
        QCOMPARE(f.computer->text(), QString("MAD-3R_Marauder"));
        QVERIFY(h.errors.isEmpty());
    }

    void applyingCopiesBothConfigurations() {
        Harness h;
        GameFixture s(h);
        s.start();
        Form1& f = h.form1();
        s.fill(f.Command1, 0);
        s.fill(f.Command2, 1);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        QCOMPARE(s.unitBytes("MAD-3R_Marauder"), QByteArray("locust\0bytes", 12));
        // Slots, lists and settings are left as they were.
        QCOMPARE(f.player->text(), QString("Atlas"));
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("Atlas\r\nLocust\r\n"));
        // The game's originals were kept for this game, and the defaults put them back.
        QCOMPARE(readFile(s.kept("WHM-6K_Warhammer")), kOriginalWarhammer);
        QCOMPARE(readFile(s.kept("MAD-3R_Marauder")), kOriginalMarauder);
        QVERIFY(QFileInfo(s.kept("WHM-6K_Warhammer")).fileName() == "WHM-6K_Warhammer.txt");
        QTest::mouseClick(f.Command3, Qt::LeftButton);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        s.expectGameUntouched();
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(QDir(s.game + "/Mechdata").entryList(QDir::Files | QDir::Hidden),
                 QStringList({"MAD-3R_Marauder.txt", "WHM-6K_Warhammer.txt"}));
    }

    void defaultsOnAFreshInstallChangeNoByte() {
        Harness h;
        GameFixture s(h);
        s.start();
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QVERIFY(h.errors.isEmpty());
        s.expectGameUntouched();
    }

    void anExistingFileInConfigsIsNeverReplaced() {
        Harness h;
        GameFixture s(h);
        s.start();
        writeFile(s.config("WHM-6K_Warhammer"), "user's own warhammer\r\n");
        s.fill(h.form1().Command1, 0);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QCOMPARE(readFile(s.config("WHM-6K_Warhammer")), QByteArray("user's own warhammer\r\n"));
        QCOMPARE(readFile(s.kept("WHM-6K_Warhammer")), kOriginalWarhammer);
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        s.applyTheDefaults();
        s.expectGameUntouched();
        QCOMPARE(readFile(s.config("WHM-6K_Warhammer")), QByteArray("user's own warhammer\r\n"));
    }

    void sameNameInBothSlots() {
        Harness h;
        GameFixture s(h);
        s.start();
        s.fill(h.form1().Command1, 0);
        s.fill(h.form1().Command2, 0);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        QCOMPARE(s.unitBytes("MAD-3R_Marauder"), QByteArray("atlas bytes\r\n"));
    }

    void unsavedGameFolderIsUsed() {
        Harness h;
        GameFixture s(h);
        s.start();
        QTemporaryDir other;
        QVERIFY(QDir(other.path()).mkdir("Mechdata"));
        chooseDateiItem(h.form1(), h.form1().Konfigurieren);
        QTest::mouseClick(h.form2().Check1, Qt::LeftButton);
        h.form2().Dir1->setPath(other.path());
        QTest::mouseClick(h.form2().Command1, Qt::LeftButton);
        s.fill(h.form1().Command1, 0);
        s.fill(h.form1().Command2, 0);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(readFile(other.filePath("Mechdata/WHM-6K_Warhammer.txt")),
                 QByteArray("atlas bytes\r\n"));
        s.expectGameUntouched();
        QVERIFY(h.readAppFile("Konfigs.ini").startsWith(s.game.toUtf8()));
    }

    void failedChecksChangeNoGameFile_data() {
        QTest::addColumn<QString>("player");
        QTest::addColumn<QString>("computer");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("named");
        QTest::newRow("empty player slot") << ""
                                           << "Atlas" << 52 << "Player";
        QTest::newRow("folder in a slot") << "Atlas"
                                          << "../Atlas" << 52 << "Computer";
        QTest::newRow("dot") << "."
                             << "Atlas" << 52 << "Player";
        QTest::newRow("backslash") << "Atlas"
                                   << "a\\b" << 52 << "Computer";
        QTest::newRow("second slot's file missing") << "Atlas"
                                                    << "Nowhere" << 53 << "Nowhere.txt";
        QTest::newRow("a name too long for the file system")
            << QString(300, 'a') << "Atlas" << 52 << "(Name zu lang)";
    }
    void failedChecksChangeNoGameFile() {
        QFETCH(QString, player);
        QFETCH(QString, computer);
        QFETCH(int, number);
        QFETCH(QString, named);
        Harness h;
        GameFixture s(h);
        s.start();
        h.form1().player->setText(player);
        h.form1().computer->setText(computer);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), number);
        QVERIFY2(h.errors.first().description().contains(named),
                 qPrintable(h.errors.first().description()));
        s.expectGameUntouched();
        QVERIFY(h.form1().isVisible());
        // A refused apply writes nothing anywhere: not even the originals into configs.
        QCOMPARE(QDir(h.appPath("configs")).entryList(QDir::Files),
                 QStringList({"Atlas.txt", "Locust.txt"}));
    }

    // Under Wine the game may spell its folder and files in another case; they are used as
    // the game spells them, never doubled by a second spelling.
    void aGameUnderWineSpeltInOtherCase() {
        SKIP_ON_WINDOWS("names in another case, which Windows takes for the same file");
        Harness h;
        GameFixture s(h);
        respell(s, "WHM-6K_WARHAMMER.TXT", "mad-3r_marauder.txt");
        QVERIFY(QFile::rename(s.config("Atlas"), h.appPath("configs/ATLAS.txt")));
        s.start();
        s.applyWith("Atlas", "Locust");
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(QDir(s.game).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({"MECHDATA"}));
        QCOMPARE(QDir(s.game + "/MECHDATA").entryList(QDir::Files, QDir::Name | QDir::IgnoreCase),
                 QStringList({"mad-3r_marauder.txt", "WHM-6K_WARHAMMER.TXT"}));
        QCOMPARE(readFile(s.game + "/MECHDATA/WHM-6K_WARHAMMER.TXT"),
                 QByteArray("atlas bytes\r\n"));
        QCOMPARE(readFile(s.game + "/MECHDATA/mad-3r_marauder.txt"),
                 QByteArray("locust\0bytes", 12));
        // The originals are kept, and the defaults find them.
        QCOMPARE(readFile(s.kept("WHM-6K_Warhammer")), kOriginalWarhammer);
        QCOMPARE(readFile(s.kept("MAD-3R_Marauder")), kOriginalMarauder);
        s.applyTheDefaults();
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(readFile(s.game + "/MECHDATA/WHM-6K_WARHAMMER.TXT"), kOriginalWarhammer);
        QCOMPARE(readFile(s.game + "/MECHDATA/mad-3r_marauder.txt"), kOriginalMarauder);
    }

    // A fresh game under Wine, and the defaults applied first: the game's own units, in the
    // game's spelling, are both the sources and the originals kept.
    void theDefaultsFirstOnAGameSpeltInCapitals() {
        SKIP_ON_WINDOWS("names in another case, which Windows takes for the same file");
        Harness h;
        GameFixture s(h);
        respell(s, "WHM-6K_WARHAMMER.TXT", "MAD-3R_MARAUDER.TXT");
        s.start();
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(QDir(s.game + "/MECHDATA").entryList(QDir::Files),
                 QStringList({"MAD-3R_MARAUDER.TXT", "WHM-6K_WARHAMMER.TXT"}));
        QCOMPARE(readFile(s.game + "/MECHDATA/WHM-6K_WARHAMMER.TXT"), kOriginalWarhammer);
        QCOMPARE(readFile(s.game + "/MECHDATA/MAD-3R_MARAUDER.TXT"), kOriginalMarauder);
        // Another apply, then the defaults again: the game's own units come back.
        s.applyWith("Atlas", "Locust");
        QCOMPARE(readFile(s.game + "/MECHDATA/WHM-6K_WARHAMMER.TXT"),
                 QByteArray("atlas bytes\r\n"));
        s.applyTheDefaults();
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(readFile(s.game + "/MECHDATA/WHM-6K_WARHAMMER.TXT"), kOriginalWarhammer);
        QCOMPARE(readFile(s.game + "/MECHDATA/MAD-3R_MARAUDER.TXT"), kOriginalMarauder);
    }

    // KOVEX kept in the game's own folder: the application folder is the game folder.
    void kovexInsideTheGameFolder() {
        Harness h;
        GameFixture s(h, h.appDir.path());
        s.start();
        s.applyWith("Atlas", "Locust");
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        QCOMPARE(s.unitBytes("MAD-3R_Marauder"), QByteArray("locust\0bytes", 12));
        addName(h.form2(), "Neu");
        chooseDateiItem(h.form1(), h.form1().Speichern);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(h.readAppFile("units.ini"), QByteArray("Atlas\r\nLocust\r\nNeu\r\n"));
        QCOMPARE(h.readAppFile("Konfigs.ini"), native(h.appDir.path()).toUtf8() + "\r\n" +
                                                   native(h.appPath("configs")).toUtf8() + "\r\n");
        s.applyTheDefaults();
        QVERIFY(h.errors.isEmpty());
        s.expectGameUntouched();
    }

    void twoSpellingsOfOneFileAreReportedAndNothingChanges() {
        SKIP_ON_WINDOWS("two files whose names differ in case, which Windows cannot hold");
        Harness h;
        GameFixture s(h);
        writeFile(s.game + "/Mechdata/mad-3r_marauder.txt", "second spelling");
        QVERIFY(QFile::rename(s.unit("MAD-3R_Marauder"), s.game + "/Mechdata/MAD-3R_MARAUDER.TXT"));
        s.start();
        s.applyWith("Atlas", "Locust");
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), 75);
        QVERIFY2(h.errors.first().description().contains("mehrdeutig"),
                 qPrintable(h.errors.first().description()));
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), kOriginalWarhammer);
        QCOMPARE(QDir(h.appPath("configs")).entryList(QDir::Files),
                 QStringList({"Atlas.txt", "Locust.txt"}));
    }

    void gameFolderWithoutMechdata() {
        Harness h;
        GameFixture s(h);
        s.start();
        QTemporaryDir empty;
        h.form2().Dir1->setPath(empty.path());
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QCOMPARE(h.errors.size(), 1);
        QCOMPARE(h.errors.first().number(), int(KovexError::PathNotFound));
        QVERIFY(h.errors.first().description().contains("Mechdata"));
        QVERIFY(QDir(empty.path()).isEmpty());
    }

    void replacedUnitKeepsItsPermissions() {
        Harness h;
        GameFixture s(h);
        s.start();
        // Neither the umask default 0644 nor a temporary file's 0600.
        [[maybe_unused]] const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
#ifdef Q_OS_WIN
        // Windows has attributes instead: a hidden unit stays hidden.
        const std::wstring unit = native(s.unit("WHM-6K_Warhammer")).toStdWString();
        QVERIFY(SetFileAttributesW(unit.c_str(), FILE_ATTRIBUTE_HIDDEN));
#else
        QVERIFY(QFile::setPermissions(s.unit("WHM-6K_Warhammer"), mode));
#endif
        // A read-only configuration makes no read-only unit.
        QVERIFY(QFile::setPermissions(s.config("Atlas"), QFile::ReadOwner));
        s.fill(h.form1().Command1, 0);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
#ifdef Q_OS_WIN
        QCOMPARE(GetFileAttributesW(unit.c_str()) &
                     (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
                 DWORD(FILE_ATTRIBUTE_HIDDEN));
#else
        const auto userBits = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
        QCOMPARE(QFile::permissions(s.unit("WHM-6K_Warhammer")) & ~userBits, mode);
#endif
        QVERIFY(!QFileInfo(s.unit("WHM-6K_Warhammer")).isSymLink());
    }

    // A copy of the game's unit never allows more than the unit does: a unit only its owner may
    // read is kept so too.
    void aKeptOriginalAllowsNoMoreThanTheGameFile() {
        SKIP_ON_WINDOWS("Unix modes; Windows files take their folder's permissions");
        Harness h;
        GameFixture s(h);
        QVERIFY(QFile::setPermissions(s.unit("WHM-6K_Warhammer"),
                                      QFile::ReadOwner | QFile::WriteOwner));
        s.start();
        s.applyWith("Atlas", "Locust");
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(readFile(s.kept("WHM-6K_Warhammer")), kOriginalWarhammer);
        const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                            QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(QFile::permissions(s.kept("WHM-6K_Warhammer")) & others, QFile::Permissions());
        QVERIFY(QFile::permissions(s.kept("MAD-3R_Marauder")) & QFile::ReadOther);
    }

    // configs is a link to Mechdata, and the slots swap the game's two units: each unit gets
    // the other's bytes, read before either changed, and both are kept.
    void aSwapThroughConfigsLinkedToMechdata() {
        SKIP_ON_WINDOWS("a symbolic link");
        Harness h;
        GameFixture s(h);
        QVERIFY(QDir(h.appPath("configs")).removeRecursively());
        QVERIFY(QFile::link(s.game + "/Mechdata", h.appPath("configs")));
        s.start();
        s.applyWith("MAD-3R_Marauder", "WHM-6K_Warhammer");
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), kOriginalMarauder);
        QCOMPARE(s.unitBytes("MAD-3R_Marauder"), kOriginalWarhammer);
        QCOMPARE(readFile(s.kept("WHM-6K_Warhammer")), kOriginalWarhammer);
        QCOMPARE(readFile(s.kept("MAD-3R_Marauder")), kOriginalMarauder);
        // The defaults put the game's own back where they were.
        s.applyTheDefaults();
        QVERIFY(h.errors.isEmpty());
        s.expectGameUntouched();
    }

    void replacedUnitKeepsItsOwnerWhenRootReplacesIt() {
#ifdef Q_OS_WIN
        QSKIP("Linux only: Unix owners");
#else
        if (::geteuid() != 0)
            QSKIP("only root can give a file to another owner");
        Harness h;
        GameFixture s(h);
        s.start();
        const QByteArray unit = QFile::encodeName(s.unit("MAD-3R_Marauder"));
        QVERIFY(::chown(unit.constData(), 1234, 5678) == 0);
        s.applyWith("Atlas", "Locust");
        QVERIFY(h.errors.isEmpty());
        QCOMPARE(s.unitBytes("MAD-3R_Marauder"), QByteArray("locust\0bytes", 12));
        struct stat status {};
        QVERIFY(::stat(unit.constData(), &status) == 0);
        QCOMPARE(int(status.st_uid), 1234);
        QCOMPARE(int(status.st_gid), 5678);
#endif
    }

    void realErrorReportIsAMessageBoxAndTheProgramGoesOn() {
        Harness h;
        GameFixture s(h);
        s.start();
        QString shownText;
        QString shownTitle;
        const auto answerBox = [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    shownTitle = box->windowTitle();
                    shownText = box->text();
                    QTest::mouseClick(box->buttons().value(0), Qt::LeftButton);
                }
            }
        };
        h.app->setErrorReport({}); // back to the message box
        QTimer::singleShot(0, answerBox);
        h.form1().computer->setText("Nowhere");
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QCOMPARE(shownTitle, QString("KOVEX"));
        QVERIFY2(shownText.startsWith(QString::fromUtf8("Laufzeitfehler '53':\n\nDatei nicht "
                                                        "gefunden: Computer-Slot, ")),
                 qPrintable(shownText));
        QVERIFY(shownText.endsWith("Nowhere.txt"));

        // The program is still there and still works: the next apply copies.
        QVERIFY(h.form1().isVisible());
        s.fill(h.form1().Command2, 1);
        QTest::mouseClick(h.form1().Command4, Qt::LeftButton);
        QCOMPARE(s.unitBytes("MAD-3R_Marauder"), QByteArray("locust\0bytes", 12));
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), kOriginalWarhammer);
    }
};

QTEST_MAIN(ApplyTest)
#include "tst_apply.moc"
