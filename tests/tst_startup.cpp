// The built program started from a fresh folder, as a user starts it.
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void firstStartCreatesEmptySettingsAndStaysUp() {
        QTemporaryDir folder;
        const QString exe = folder.filePath("kovex");
        QVERIFY(QFile::copy(QStringLiteral(KOVEX_EXECUTABLE), exe));

        QProcess kovex;
        kovex.setProcessEnvironment(offscreenEnvironment());
        // Started from elsewhere: the settings belong beside the executable, not the cwd.
        kovex.setWorkingDirectory(QDir::tempPath());
        kovex.start(exe, {});
        QVERIFY(kovex.waitForStarted());

        const QString konfigs = folder.filePath("Konfigs.ini");
        const QString units = folder.filePath("units.ini");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(konfigs) && QFileInfo::exists(units), 20000);
        QVERIFY(!kovex.waitForFinished(1000));
        QCOMPARE(kovex.state(), QProcess::Running);
        QCOMPARE(QFileInfo(konfigs).size(), 0);
        QCOMPARE(QFileInfo(units).size(), 0);

        kovex.kill();
        kovex.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(StartupTest)
#include "tst_startup.moc"
