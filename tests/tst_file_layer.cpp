// The file layer without any window, on plain files: a copy into a new file fails on either
// side apart, and leaves nothing of a failed destination; two files are the same only when
// every byte is; a file is made without emptying one come meanwhile, and a rewrite is seen.
#include "test_files.h"

#include "files/file_checks.h"
#include "files/file_place.h"
#include "files/file_system_object.h"
#include "files/system_files.h"
#include "files/text_format.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Text files are not the point here.
class NoTextFormat final : public TextFormat {
public:
    QStringList linesOf(const QByteArray&) const override { return {}; }
    void appendLine(QByteArray&, const QString&, bool) const override {}
};

} // namespace

class FileLayerTest : public QObject {
    Q_OBJECT

private slots:
    // What the source cannot give is thrown; what the destination cannot take is given back.
    void aCopyToANewFileFailsOnEitherSideApart_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<int>("thrown");
        QTest::addColumn<int>("givenBack");
        QTest::newRow("copied") << "unit.txt"
                                << "kept/unit.txt" << 0 << 0;
        QTest::newRow("no source") << "gone.txt"
                                   << "kept/unit.txt" << 53 << 0;
        QTest::newRow("the destination's folder missing") << "unit.txt"
                                                          << "missing/unit.txt" << 0 << 76;
        QTest::newRow("the destination there already") << "unit.txt"
                                                       << "kept/old.txt" << 0 << 58;
    }
    void aCopyToANewFileFailsOnEitherSideApart() {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(int, thrown);
        QFETCH(int, givenBack);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir("kept"));
        writeFile(folder.filePath("unit.txt"), kOriginalWarhammer);
        writeFile(folder.filePath("kept/old.txt"), "old");
        const QStringList before = filesIn(folder.filePath("kept"));
        NoTextFormat format;
        FileSystemObject fso(format);
        int threw = 0;
        std::optional<KovexError> refused;
        try {
            refused = fso.CopyToNewFile(folder.filePath(source), folder.filePath(destination));
        } catch (const KovexError& error) {
            threw = error.number();
        }
        QCOMPARE(threw, thrown);
        QCOMPARE(refused ? refused->number() : 0, givenBack);
        if (refused)
            QVERIFY(refused->description().contains(native(folder.filePath(destination))));
        if (thrown || givenBack)
            QCOMPARE(filesIn(folder.filePath("kept")), before);
        else
            QCOMPARE(readFile(folder.filePath(destination)), kOriginalWarhammer);
        QCOMPARE(readFile(folder.filePath("kept/old.txt")), QByteArray("old"));
    }

    // Large files are compared a piece at a time: a difference after the first pieces counts.
    void twoFilesAreTheSameOnlyWhenEveryByteIs_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("otherByteAt"); // -1: none
        QTest::addColumn<int>("otherSize");
        QTest::addColumn<bool>("same");
        const int piece = 64 * 1024;
        QTest::newRow("both empty") << 0 << -1 << 0 << true;
        QTest::newRow("one piece, the same") << piece << -1 << piece << true;
        QTest::newRow("three pieces and a bit, the same")
            << 3 * piece + 7 << -1 << 3 * piece + 7 << true;
        QTest::newRow("the first byte other") << 10 << 0 << 10 << false;
        QTest::newRow("the last byte of a piece other") << piece << piece - 1 << piece << false;
        QTest::newRow("a byte after the first piece other")
            << 2 * piece + 1 << piece + 3 << 2 * piece + 1 << false;
        QTest::newRow("the very last byte other")
            << 2 * piece + 1 << 2 * piece << 2 * piece + 1 << false;
        QTest::newRow("one byte longer") << piece << -1 << piece + 1 << false;
    }
    void twoFilesAreTheSameOnlyWhenEveryByteIs() {
        QFETCH(int, size);
        QFETCH(int, otherByteAt);
        QFETCH(int, otherSize);
        QFETCH(bool, same);
        QTemporaryDir folder;
        QByteArray bytes(qMax(size, otherSize), Qt::Uninitialized);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            bytes[i] = char('a' + i % 23);
        QByteArray other = bytes.left(otherSize);
        if (otherByteAt >= 0)
            other[otherByteAt] = '#';
        writeFile(folder.filePath("one.txt"), bytes.left(size));
        writeFile(folder.filePath("other.txt"), other);
        QCOMPARE(
            file_checks::holdSameBytes(folder.filePath("one.txt"), folder.filePath("other.txt")),
            same);
    }

    // A settings file is made empty where none is; one that is there, come meanwhile from
    // another copy, keeps its bytes.
    void aMissingFileIsMadeEmptyAndAPresentOneKept() {
        QTemporaryDir dir;
        writeFile(dir.filePath("units.ini"), "Atlas\r\n");
        for (const char* name : {"units.ini", "Konfigs.ini"})
            system_files::createIfMissing(FilePlace(dir.filePath(name)));
        QCOMPARE(readFile(dir.filePath("units.ini")), QByteArray("Atlas\r\n"));
        QCOMPARE(readFile(dir.filePath("Konfigs.ini")), QByteArray());
    }

    // Rewritten in place by another program with as many bytes, within the same second, a file
    // is no longer the one this program last saw.
    void aRewriteWithinTheSameSecondIsSeen() {
        QTemporaryDir dir;
        const QString path = dir.filePath("units.ini");
        writeFile(path, "Atlas\r\n");
        const QDateTime second = QDateTime::fromSecsSinceEpoch(1700000000);
        const auto touch = [&](int msecs) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(second.addMSecs(msecs), QFileDevice::FileModificationTime));
        };
        touch(100);
        const QByteArray before = system_files::fingerprint(path);
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite) && file.write("Brute\r\n") == 7);
        }
        touch(200);
        QVERIFY(!before.isEmpty());
        QVERIFY(system_files::fingerprint(path) != before);
    }
};

QTEST_GUILESS_MAIN(FileLayerTest)
#include "tst_file_layer.moc"
