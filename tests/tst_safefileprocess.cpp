// SPDX-License-Identifier: GPL-3.0-or-later
// The careful replace in a process of its own (the driver): full disks, file-size limits,
// failing syncs through strace, signals and kills.
#include "tests/safefilefixture.h"

#include <QtTest>

#include <atomic>
#include <csignal>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace safefiletest;

class tst_SafeFileProcess : public QObject
{
    Q_OBJECT
private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void fileSizeLimitKeepsTheOldFile();
    void failedInPlaceWritePutsEveryByteBack_data();
    void failedInPlaceWritePutsEveryByteBack();
    void signalWaitsForTheSave();
    void killedSavesLeaveNothingBehind();

private:
    SafeFileFixture f;
};

// clang-format off
void tst_SafeFileProcess::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("oldKept");
    QTest::newRow("old-file")  << "printf ' 25 \\r\\n' > $D/full/Ratinor.ini" << true;
    // The first run: there is no old content to speak of
    QTest::newRow("first-run") << "true" << false;
}
// clang-format on

void tst_SafeFileProcess::fullDiskKeepsTheOldFile()
{
    QFETCH(QString, setup);
    QFETCH(bool, oldKept);
    if (!f.shell("mkdir $D/full && mount -t tmpfs -o size=64k,mode=0777 tmpfs $D/full"))
        QSKIP("mounting a tmpfs is refused here; the file-size limit stands in");
    QVERIFY(f.shell(setup));
    QVERIFY(f.shell("cat /dev/zero > $D/full/filler 2>/dev/null || true"));
    const QString name = f.dir->filePath("full/Ratinor.ini");
    const QStringList before = snapshot(f.dir->filePath("full"));
    QCOMPARE(saveAs(0, name, newBytes), codeOf(Kind::DiskFull, oldKept));
    QCOMPARE(snapshot(f.dir->filePath("full")), before);
}

void tst_SafeFileProcess::fileSizeLimitKeepsTheOldFile()
{
    // The file-size limit fails the write as a full disk does; its signal is ignored, as
    // the program does.
    f.expectFailure(
        [this] {
            const pid_t child = ::fork();
            if (child == 0) {
                ::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit {10, 10};
                ::setrlimit(RLIMIT_FSIZE, &limit);
                ::_exit(codeOf(storage::replaceContent(pathOf(f.file()), newBytes.toStdString())));
            }
            int status = 0;
            ::waitpid(child, &status, 0);
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        },
        Kind::DiskFull, true);
}

// clang-format off
void tst_SafeFileProcess::failedInPlaceWritePutsEveryByteBack_data()
{
    QTest::addColumn<int>("failingSync");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<bool>("oldKept");
    QTest::newRow("sync-of-the-bytes") << 1 << oldBytes << true;
    QTest::newRow("sync-of-the-cut")   << 2 << oldBytes << true;
    // Too long to keep whole: no promise about it
    QTest::newRow("beyond-the-cap")    << 2 << QByteArray(100000, '7') << false;
}
// clang-format on

void tst_SafeFileProcess::failedInPlaceWritePutsEveryByteBack()
{
    QFETCH(int, failingSync);
    QFETCH(QByteArray, old);
    QFETCH(bool, oldKept);
    // A second name makes the save write in place; a failing disk fails the sync.
    QVERIFY(writeAll(f.file(), old));
    QVERIFY(f.shell("ln $F $D/second"));
    QProcess driver;
    if (!f.startTraced(driver, QStringLiteral("inject=fsync:error=EIO:when=%1").arg(failingSync),
                       newBytes))
        QSKIP("strace is missing or cannot trace here");
    QVERIFY(driver.waitForFinished(20000));
    QCOMPARE(driver.exitCode(), codeOf(Kind::DriveFault, oldKept));
    if (oldKept)
        QCOMPARE(readAll(f.file()), old);
}

void tst_SafeFileProcess::signalWaitsForTheSave()
{
    // A logout's SIGTERM while the sync takes its time ends the program only after the save.
    QProcess driver;
    if (!f.startTraced(driver, "inject=fsync:delay_enter=1500000:when=1", newBytes))
        QSKIP("strace is missing or cannot trace here");
    const pid_t pid = driver.readLine().trimmed().toInt();
    QVERIFY(pid > 0);
    QTest::qWait(300);
    QCOMPARE(::kill(pid, SIGTERM), 0);
    QVERIFY(driver.waitForFinished(20000));
    QCOMPARE(readAll(f.file()), newBytes);
    QCOMPARE(QDir(f.dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList {"Ratinor.ini"});
    QCOMPARE(driver.exitStatus(), QProcess::CrashExit); // strace ends as its tracee did
}

void tst_SafeFileProcess::killedSavesLeaveNothingBehind()
{
    // An older version's names: one from a killed save days ago, one that may still be live.
    QVERIFY(writeAll(f.dir->filePath(".Ratinor.ini.7.1"), newBytes));
    QVERIFY(f.shell("touch -d '2 days ago' $D/.Ratinor.ini.7.1"));
    QVERIFY(writeAll(f.dir->filePath(".Ratinor.ini.8.1"), newBytes));
    for (int i = 0; i < 100; ++i) {
        QProcess driver;
        driver.start(SAFEFILE_DRIVER,
                     {f.file(), QString::fromLatin1(i % 2 ? oldBytes : newBytes), "loop"});
        QVERIFY(driver.waitForReadyRead(10000));
        ::usleep(static_cast<useconds_t>(QRandomGenerator::global()->bounded(20000)));
        driver.kill();
        QVERIFY(driver.waitForFinished(10000));
        QVERIFY(readAll(f.file()) == oldBytes
                || readAll(f.file()) == newBytes); // whole, never torn
    }
    QCOMPARE(saveAs(0, f.file(), newBytes), 0);
    QCOMPARE(QDir(f.dir->path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList {".Ratinor.ini.8.1", "Ratinor.ini"}));
}

QTEST_GUILESS_MAIN(tst_SafeFileProcess)
#include "tst_safefileprocess.moc"
