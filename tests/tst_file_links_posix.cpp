// Root never follows a link another user made: not into a unit file, not to Mechdata, not into
// configs. The link is made here by root, who gives it away.
#include "test_files.h"

#include "files/kovex_error.h"
#include "game/apply_assignment.h"
#include "settings/application_files.h"
#include "settings/configuration_import.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kOtherUser = 65534;

// A link at the path to the target, made by the given user.
void link(const QString& target, const QString& path, uid_t owner) {
    QVERIFY(QFile::link(target, path));
    QVERIFY(::lchown(QFile::encodeName(path).constData(), owner, owner) == 0);
}

QString refusal(const std::function<void()>& work) {
    try {
        work();
        return {};
    } catch (const KovexError& error) {
        return QString("%1 %2").arg(error.number()).arg(error.description());
    }
}

QString foreign(const QString& link) {
    return QString::fromUtf8("70 Zugriff verweigert: %1 (Verknüpfung eines anderen Benutzers)")
        .arg(native(link));
}

} // namespace

class FileLinksTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        if (::geteuid() != 0)
            QSKIP("only root can make a link that belongs to another user");
    }

    // Root applies to a game folder of another user's, who linked a unit file, or Mechdata, to
    // a file only root may read: refused before anything changes, and nothing of it is copied.
    void rootNeverWritesThroughAnotherUsersLink_data() {
        QTest::addColumn<QString>("linked");
        QTest::newRow("a unit file") << "Mechdata/WHM-6K_Warhammer.txt";
        QTest::newRow("Mechdata") << "Mechdata";
    }
    void rootNeverWritesThroughAnotherUsersLink() {
        QFETCH(QString, linked);
        QTemporaryDir base;
        const Installation kovex(base.filePath("app"), base.filePath("game"));
        const QString secret = base.filePath("root-only/WHM-6K_Warhammer.txt");
        QVERIFY(QDir().mkpath(base.filePath("root-only")));
        writeFile(secret, "root's own\r\n");
        QVERIFY(QFile::setPermissions(secret, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(::chown(QFile::encodeName(kovex.game).constData(), kOtherUser, kOtherUser) == 0);
        const QString path = kovex.game + "/" + linked;
        if (linked == "Mechdata") {
            QVERIFY(QDir(kovex.game).rename("Mechdata", "theirs"));
            link(kovex.game + "/theirs", path, kOtherUser);
        } else {
            QVERIFY(QFile::remove(path));
            link(secret, path, kOtherUser);
        }
        const ApplicationFiles files(kovex.app);
        QCOMPARE(refusal([&] {
                     applyAssignment(files, {kovex.game, "Atlas", "Locust"},
                                     [](const QString&) { return true; });
                 }),
                 foreign(path));
        QCOMPARE(readFile(secret), QByteArray("root's own\r\n"));
        QCOMPARE(readFile(kovex.unit("MAD-3R_Marauder")), kOriginalMarauder);
        QVERIFY(!QFileInfo::exists(keptFolderOf(kovex.game)));

        // Nor is another user's link taken into configs.
        if (linked == "Mechdata")
            return;
        const ConfigurationImport import(files, [](const QString&) { return true; });
        QCOMPARE(refusal([&] { import.importFile(path); }).left(3), QString("70 "));
        QVERIFY(!QFileInfo::exists(kovex.app + "/configs/WHM-6K_Warhammer.txt"));
    }
};

QTEST_GUILESS_MAIN(FileLinksTest)
#include "tst_file_links_posix.moc"
