// Filling the slots and applying them to a game folder, checked on the unit files' bytes.
#include "test_support.h"

#include "app/list_box.h"
#include "config_window/dir_list_box.h"
#include "config_window/form2.h"
#include "main_window/form1.h"
#include "settings/file_system_object.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray kWarhammer = "original warhammer\r\nmass 70\r\n";
const QByteArray kMarauder = "original marauder\r\nmass 75\r\n";

// Copies through the real file layer, but the n-th copy fails.
class FailingCopyFileSystem final : public FileSystemObject {
public:
    explicit FailingCopyFileSystem(int failingCopy) : m_failingCopy(failingCopy) {}
    void CopyFile(const QString& source, const QString& destination, bool overwrite) override {
        if (++m_copies == m_failingCopy)
            throw KovexError(KovexError::DiskFull, destination);
        FileSystemObject::CopyFile(source, destination, overwrite);
    }

private:
    int m_failingCopy;
    int m_copies = 0;
};

// A program whose game folder holds the game's two original units, with two configurations.
struct Setup {
    Setup() {
        QVERIFY(QDir(game.path()).mkdir("Mechdata"));
        QVERIFY(QDir(h.appDir.path()).mkdir("configs"));
        h.writeFile(unit("WHM-6K_Warhammer"), kWarhammer);
        h.writeFile(unit("MAD-3R_Marauder"), kMarauder);
        h.writeFile(config("Atlas"), "atlas bytes\r\n");
        h.writeFile(config("Mad Cat"), QByteArray("mad cat\0bytes", 13));
        h.writeAppFile("Konfigs.ini", game.path().toUtf8() + "\r\n");
        h.writeAppFile("units.ini", "Atlas\r\nMad Cat\r\n");
        h.start();
    }
    QString unit(const QString& name) const { return game.filePath("Mechdata/" + name + ".txt"); }
    QString config(const QString& name) const { return h.appPath("configs/" + name + ".txt"); }
    QByteArray unitBytes(const QString& name) const { return h.readFile(unit(name)); }
    void fill(QPushButton* slotButton, int row) {
        clickRow(h.form1().List1, row);
        QTest::mouseClick(slotButton, Qt::LeftButton);
    }
    void apply() { QTest::mouseClick(h.form1().Command4, Qt::LeftButton); }
    void expectGameUntouched() const {
        QCOMPARE(unitBytes("WHM-6K_Warhammer"), kWarhammer);
        QCOMPARE(unitBytes("MAD-3R_Marauder"), kMarauder);
    }

    QTemporaryDir game;
    Harness h;
};

} // namespace

class ApplyTest : public QObject {
    Q_OBJECT

private slots:
    void fillingAndRestoringSlots() {
        Setup s;
        Form1& f = s.h.form1();
        s.fill(f.Command1, 1);
        QCOMPARE(f.player->text(), QString("Mad Cat"));
        // The selection stays, so the other ">>" puts the same name into the other slot.
        QCOMPARE(f.List1->ListIndex(), 1);
        QTest::mouseClick(f.Command2, Qt::LeftButton);
        QCOMPARE(f.computer->text(), QString("Mad Cat"));

        QTest::mouseClick(f.Command3, Qt::LeftButton);
        QCOMPARE(f.player->text(), QString("WHM-6K_Warhammer"));
        QCOMPARE(f.computer->text(), QString("MAD-3R_Marauder"));
        QCOMPARE(f.List1->items(), QStringList({"Atlas", "Mad Cat"}));

        // Right after a save nothing is selected: ">>" empties its slot.
        chooseDateiItem(f, f.Speichern);
        QTest::mouseClick(f.Command1, Qt::LeftButton);
        QCOMPARE(f.player->text(), QString());
        QCOMPARE(f.computer->text(), QString("MAD-3R_Marauder"));
        QVERIFY(s.h.errors.isEmpty());
    }

    void applyingCopiesBothConfigurations() {
        Setup s;
        Form1& f = s.h.form1();
        s.fill(f.Command1, 0);
        s.fill(f.Command2, 1);
        s.apply();
        QVERIFY(s.h.errors.isEmpty());
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        QCOMPARE(s.unitBytes("MAD-3R_Marauder"), QByteArray("mad cat\0bytes", 13));
        // Slots, lists and settings are left as they were.
        QCOMPARE(f.player->text(), QString("Atlas"));
        QCOMPARE(s.h.readAppFile("units.ini"), QByteArray("Atlas\r\nMad Cat\r\n"));
        // The game's originals were kept in configs, and the defaults put them back.
        QCOMPARE(s.h.readFile(s.config("WHM-6K_Warhammer")), kWarhammer);
        QCOMPARE(s.h.readFile(s.config("MAD-3R_Marauder")), kMarauder);
        QTest::mouseClick(f.Command3, Qt::LeftButton);
        s.apply();
        s.expectGameUntouched();
        QVERIFY(s.h.errors.isEmpty());
        QCOMPARE(QDir(s.game.filePath("Mechdata")).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"MAD-3R_Marauder.txt", "WHM-6K_Warhammer.txt"}));
    }

    void defaultsOnAFreshInstallChangeNoByte() {
        Setup s;
        s.apply();
        QVERIFY(s.h.errors.isEmpty());
        s.expectGameUntouched();
    }

    void anExistingFileInConfigsIsNeverReplaced() {
        Setup s;
        s.h.writeFile(s.config("WHM-6K_Warhammer"), "user's own warhammer\r\n");
        s.fill(s.h.form1().Command1, 0);
        s.apply();
        QCOMPARE(s.h.readFile(s.config("WHM-6K_Warhammer")),
                 QByteArray("user's own warhammer\r\n"));
        QCOMPARE(s.h.readFile(s.config("MAD-3R_Marauder")), kMarauder);
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
    }

    void sameNameInBothSlots() {
        Setup s;
        s.fill(s.h.form1().Command1, 0);
        s.fill(s.h.form1().Command2, 0);
        s.apply();
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        QCOMPARE(s.unitBytes("MAD-3R_Marauder"), QByteArray("atlas bytes\r\n"));
    }

    void unsavedGameFolderIsUsed() {
        Setup s;
        QTemporaryDir other;
        QVERIFY(QDir(other.path()).mkdir("Mechdata"));
        chooseDateiItem(s.h.form1(), s.h.form1().Konfigurieren);
        QTest::mouseClick(s.h.form2().Check1, Qt::LeftButton);
        s.h.form2().Dir1->setPath(other.path());
        QTest::mouseClick(s.h.form2().Command1, Qt::LeftButton);
        s.fill(s.h.form1().Command1, 0);
        s.fill(s.h.form1().Command2, 0);
        s.apply();
        QVERIFY(s.h.errors.isEmpty());
        QCOMPARE(s.h.readFile(other.filePath("Mechdata/WHM-6K_Warhammer.txt")),
                 QByteArray("atlas bytes\r\n"));
        s.expectGameUntouched();
        QVERIFY(s.h.readAppFile("Konfigs.ini").startsWith(s.game.path().toUtf8()));
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
    }
    void failedChecksChangeNoGameFile() {
        QFETCH(QString, player);
        QFETCH(QString, computer);
        QFETCH(int, number);
        QFETCH(QString, named);
        Setup s;
        s.h.form1().player->setText(player);
        s.h.form1().computer->setText(computer);
        s.apply();
        QCOMPARE(s.h.errors.size(), 1);
        QCOMPARE(s.h.errors.first().number(), number);
        QVERIFY2(s.h.errors.first().description().contains(named),
                 qPrintable(s.h.errors.first().description()));
        s.expectGameUntouched();
        QVERIFY(s.h.form1().isVisible());
    }

    void gameFolderWithoutMechdata() {
        Setup s;
        QTemporaryDir empty;
        s.h.form2().Dir1->setPath(empty.path());
        s.apply();
        QCOMPARE(s.h.errors.size(), 1);
        QCOMPARE(s.h.errors.first().number(), int(KovexError::PathNotFound));
        QVERIFY(s.h.errors.first().description().contains("Mechdata"));
        QVERIFY(QDir(empty.path()).isEmpty());
    }

    void replacedUnitKeepsItsPermissions() {
        Setup s;
        // Neither the umask default 0644 nor a temporary file's 0600.
        const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(s.unit("WHM-6K_Warhammer"), mode));
        QVERIFY(QFile::setPermissions(s.config("Atlas"), QFile::ReadOwner));
        s.fill(s.h.form1().Command1, 0);
        s.apply();
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        const auto userBits = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
        QCOMPARE(QFile::permissions(s.unit("WHM-6K_Warhammer")) & ~userBits, mode);
        QVERIFY(!QFileInfo(s.unit("WHM-6K_Warhammer")).isSymLink());
    }

    void failureDuringTheCopiesKeepsEachFileWhole() {
        Setup s;
        s.h.writeFile(s.config("WHM-6K_Warhammer"), kWarhammer); // no backups needed
        s.h.writeFile(s.config("MAD-3R_Marauder"), kMarauder);
        s.h.app->setFileSystemFactory([] { return std::make_unique<FailingCopyFileSystem>(2); });
        s.fill(s.h.form1().Command1, 0);
        s.fill(s.h.form1().Command2, 1);
        s.apply();
        QCOMPARE(s.h.errors.size(), 1);
        QCOMPARE(s.h.errors.first().number(), int(KovexError::DiskFull));
        QCOMPARE(s.unitBytes("WHM-6K_Warhammer"), QByteArray("atlas bytes\r\n"));
        QCOMPARE(s.unitBytes("MAD-3R_Marauder"), kMarauder);
        QVERIFY(s.h.form1().isVisible());
    }

    void realErrorReportIsAMessageBoxCaptionedKovex() {
        Setup s;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    seen = box->windowTitle() == "KOVEX" && box->text().contains("53") &&
                           box->text().contains("Datei nicht gefunden");
                    box->accept();
                }
            }
        });
        s.h.app->setErrorReport({}); // back to the message box
        s.h.form1().computer->setText("Nowhere");
        s.apply();
        QVERIFY(seen);
    }
};

QTEST_MAIN(ApplyTest)
#include "tst_apply.moc"
