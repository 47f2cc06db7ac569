// Links, as the file layer follows them: only those this user or root made, link by link
// through a chain and folder by folder along a path; never one another user made, whoever owns
// the folder it lies in. Another user's link is made here by root, who gives it away.
#include "recording_controls.h"
#include "test_files.h"

#include "files/atomic_file_writer.h"
#include "files/file_place.h"
#include "files/file_system_object.h"
#include "files/system_files.h"
#include "files/text_stream.h"
#include "game/apply_assignment.h"
#include "settings/application_files.h"
#include "settings/configuration_import.h"
#include "settings/module1.h"
#include "settings/settings_text.h"

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

    // What root copies into another user's folder goes to that user where they may read the
    // original, else stays with the original's owner and group; it is never more open than
    // the original or the umask allow.
    void aCopyRootMakesInAnotherUsersFolder_data() {
        QTest::addColumn<uint>("owner");
        QTest::addColumn<uint>("group");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("umask");
        QTest::addColumn<uint>("copyOwner");
        QTest::addColumn<uint>("copyGroup");
        QTest::addColumn<int>("copyMode");
        const uint u = kOtherUser;
        QTest::newRow("root's alone") << 0u << 0u << 0600 << 022 << 0u << 0u << 0600;
        QTest::newRow("root's group may read") << 0u << 0u << 0640 << 022 << 0u << 0u << 0640;
        QTest::newRow("all may read") << 0u << 0u << 0644 << 022 << u << u << 0644;
        QTest::newRow("the user's group may read") << 0u << u << 0640 << 022 << u << u << 0640;
        QTest::newRow("the user's group may not") << 0u << u << 0604 << 022 << 0u << u << 0604;
        QTest::newRow("the umask narrower") << u << u << 0644 << 077 << u << u << 0600;
    }
    void aCopyRootMakesInAnotherUsersFolder() {
        QFETCH(uint, owner);
        QFETCH(uint, group);
        QFETCH(int, mode);
        QFETCH(int, umask);
        QTemporaryDir dir;
        const QString from = dir.filePath("Atlas.txt");
        writeFile(from, "atlas\r\n");
        QVERIFY(QDir(dir.path()).mkdir("user"));
        const QByteArray user = QFile::encodeName(dir.filePath("user"));
        const QByteArray source = QFile::encodeName(from);
        QVERIFY(::chown(user.constData(), kOtherUser, kOtherUser) == 0 &&
                ::chown(source.constData(), owner, group) == 0 &&
                ::chmod(source.constData(), mode_t(mode)) == 0);
        const FilePlace place(from);
        SystemFile original;
        original.openForReading(place);
        const mode_t before = ::umask(mode_t(umask));
        const QString error = refusal([&] {
            AtomicFileWriter copy(dir.filePath("user/Atlas.txt"), &original);
            copy.write("atlas\r\n");
            copy.commit();
        });
        ::umask(before);
        QCOMPARE(error, QString());
        struct stat made {};
        QVERIFY(::stat(QFile::encodeName(dir.filePath("user/Atlas.txt")).constData(), &made) == 0);
        QTEST(uint(made.st_uid), "copyOwner");
        QTEST(uint(made.st_gid), "copyGroup");
        QTEST(int(made.st_mode & 0777), "copyMode");
    }

    // A link swapped in for the file once its place was reached is not followed: the file it
    // names is not read.
    void aLinkSwappedInLaterIsNotFollowed() {
        QTemporaryDir dir;
        writeFile(dir.filePath("secret"), "root's\n");
        writeFile(dir.filePath("Atlas.txt"), "atlas\r\n");
        const FilePlace place(dir.filePath("Atlas.txt"));
        QVERIFY(QFile::remove(dir.filePath("Atlas.txt")));
        link(dir.filePath("secret"), dir.filePath("Atlas.txt"), ::geteuid());
        SystemFile file;
        QVERIFY(!refusal([&] { file.openForReading(place); }).isEmpty());
    }

    // units.ini reached through links of the given kinds, read, written and saved over; the
    // file the links lead to changes only where every link was this user's.
    void aSettingsFileThroughLinks_data() {
        QTest::addColumn<QString>("chain");
        QTest::addColumn<QString>("refused"); // the link named, or "" where it is followed
        QTest::newRow("the user's own link") << "own"
                                             << "";
        QTest::newRow("the user's own links, one to the other") << "own,own"
                                                                << "";
        QTest::newRow("the user's own link going up") << "own, up"
                                                      << "";
        QTest::newRow("another user's link") << "other"
                                             << "units.ini";
        QTest::newRow("the user's link to another user's link") << "own,other"
                                                                << "hop1";
        QTest::newRow("another user's link in a folder of theirs") << "other in theirs"
                                                                   << "units.ini";
        QTest::newRow("a folder on the way linked by another user") << "other folder"
                                                                    << "shared";
    }
    void aSettingsFileThroughLinks() {
        QFETCH(QString, chain);
        QFETCH(QString, refused);
        QTemporaryDir base;
        const QString app = base.filePath("app");
        // A target whose path is longer than a first guess at a link's length.
        const QString real = app + "/" + QString(250, 'r');
        QVERIFY(QDir().mkpath(real));
        const QString target = real + "/units.ini";
        writeFile(target, "target\r\n");
        writeFile(app + "/Konfigs.ini", "");
        QString path = app + "/units.ini";
        if (chain == "own, up") {
            QVERIFY(QFile::link("../" + QFileInfo(app).fileName() + "/" +
                                    QFileInfo(real).fileName() + "/units.ini",
                                path));
        } else if (chain == "other folder") {
            link(real, app + "/shared", kOtherUser);
            path = app + "/shared/units.ini";
        } else {
            if (chain == "other in theirs")
                QVERIFY(::chown(QFile::encodeName(app).constData(), kOtherUser, kOtherUser) == 0);
            const QStringList owners = chain.split(',');
            QString next = target;
            for (qsizetype i = owners.size() - 1; i >= 0; --i) {
                const QString at = i == 0 ? path : app + QString("/hop%1").arg(i);
                link(next, at, owners[i].startsWith("own") ? ::geteuid() : kOtherUser);
                next = at;
            }
        }
        const QString named = refused.isEmpty() ? QString() : foreign(app + "/" + refused);
        FileSystemObject fso(settings_text::format());
        QCOMPARE(refusal([&] { fso.OpenTextFile(path, IOMode::ForReading, true)->ReadAll(); }),
                 named);
        QCOMPARE(refusal([&] {
                     auto stream = fso.OpenTextFile(path, IOMode::ForWriting, true);
                     stream->WriteLine("written");
                     stream->Close();
                 }),
                 named);
        QCOMPARE(readFile(target), refused.isEmpty() ? QByteArray("written\r\n") : "target\r\n");

        // A save of the names, with the file swapped for the links after it was read.
        if (path != app + "/units.ini")
            return;
        QVERIFY(QFile::rename(path, app + "/units.lnk"));
        writeFile(path, "read\r\n");
        RecordingControls controls;
        const ApplicationFiles files(app);
        Module1 settings(files, controls);
        settings.ReadSettings();
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::rename(app + "/units.lnk", path));
        controls.answerYes = true;
        QCOMPARE(refusal([&] { settings.SaveSettings(); }), named);
        QCOMPARE(readFile(target),
                 refused.isEmpty() ? QByteArray("read\r\n") : QByteArray("target\r\n"));
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
