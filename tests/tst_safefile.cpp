// SPDX-License-Identifier: GPL-3.0-or-later
// The careful read and replace under real faults: full disks, file-size limits, devices,
// FIFOs, bind mounts, ACLs, extended attributes, hard links, other users' files and
// links, append-only folders, failing syncs, signals and kills. POSIX only; each fault is
// made for real in a fresh folder, by a shell line run as root where it needs root, and a
// case the machine cannot make is skipped with the reason.
#include "storage/safefile.h"
#include "tests/savecode.h"
#include "tests/testfiles.h"

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

using Kind = storage::SaveError::Kind;
Q_DECLARE_METATYPE(Kind)

namespace {

const QByteArray oldBytes(" 40 \r\n 2150 \r\n 2050 \r\n");
const QByteArray newBytes(" 30 \r\n 150 \r\n 2 \r\n"); // shorter: a box emptied, digits lost

using testfiles::pathOf;
using testfiles::readAll;
using testfiles::writeAll;

// A user and a group made for these tests only, and a second member of that group.
constexpr uid_t alice = 61001;
constexpr uid_t bob = 61002;
constexpr gid_t club = 61000;

using ::codeOf;

int codeOf(Kind kind, bool oldKept)
{
    return codeOf(storage::SaveError {kind, 0, oldKept});
}

// What a replace must keep of a name: kind, mode, owner, group, links and every extended
// attribute (the ACL among them), without the content.
QString describe(const QString &name)
{
    const QByteArray path = QFile::encodeName(name);
    struct stat status = {};
    if (::lstat(path.constData(), &status) != 0)
        return QStringLiteral("nothing");
    QString text = QStringLiteral("mode %1 owner %2:%3 links %4")
                       .arg(status.st_mode, 0, 8)
                       .arg(status.st_uid)
                       .arg(status.st_gid)
                       .arg(status.st_nlink);
    QByteArray names(4096, '\0');
    const ssize_t size = ::llistxattr(path.constData(), names.data(), 4096);
    QByteArrayList attributes = names.left(static_cast<int>(std::max<ssize_t>(size, 0)))
                                    .split('\0');
    std::sort(attributes.begin(), attributes.end());
    for (const QByteArray &attribute : attributes) {
        QByteArray value(4096, '\0');
        const ssize_t length = ::lgetxattr(path.constData(), attribute.constData(), value.data(),
                                           4096);
        if (!attribute.isEmpty())
            text += ' ' + attribute + '=' + value.left(static_cast<int>(length)).toHex();
    }
    return text;
}

// Every name in a folder, hidden ones too, with what describe() gives and its bytes.
QStringList snapshot(const QString &folder)
{
    QStringList entries;
    const QDir dir(folder);
    for (const QString &entry :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString name = dir.filePath(entry);
        const QFileInfo info(name);
        const QByteArray bytes = info.isFile() && !info.isSymLink() ? readAll(name) : QByteArray();
        entries << entry + ": " + describe(name) + ' '
                + QString::fromLatin1(bytes.toPercentEncoding());
    }
    return entries;
}

int saveAs(uid_t user, const QString &name, const QByteArray &bytes)
{
    return ::saveAs(user, club, pathOf(name), bytes.toStdString());
}

} // namespace

class tst_SafeFile : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void readStartReadsNothingFromWhatIsNotAFile_data();
    void readStartReadsNothingFromWhatIsNotAFile();
    void readStartNeverBlocksWhenAFifoTakesThePlace();
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void fileSizeLimitKeepsTheOldFile();
    void refusesWhatItMustNotWrite_data();
    void refusesWhatItMustNotWrite();
    void replaceKeepsWhatTheFileHas_data();
    void replaceKeepsWhatTheFileHas();
    void failedInPlaceWritePutsEveryByteBack_data();
    void failedInPlaceWritePutsEveryByteBack();
    void signalWaitsForTheSave();
    void killedSavesLeaveNothingBehind();
    void folderNameKeepsItsBytes();
    void folderGone();

private:
    QString file() const { return m_dir->filePath("Ratinor.ini"); }
    // Runs a shell line with D the test's folder and F the file; false where it fails.
    bool shell(const QString &line);
    void expectFailure(const std::function<int()> &save, Kind kind, bool oldKept);
    // Starts the driver under strace with the given fault; false where strace cannot trace.
    bool startTraced(QProcess &driver, const QString &fault, const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_SafeFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(writeAll(file(), oldBytes));
}

void tst_SafeFile::cleanup()
{
    // Undo what a row made that would stop the folder's removal.
    shell(QStringLiteral("chattr -a \"$D\" 2>/dev/null; grep -o \" $D[^ ]*\" /proc/self/mounts "
                         "| sort -r | xargs -r -n1 umount -l; true"));
    QDir::setCurrent(QDir::tempPath());
    m_dir.reset();
}

bool tst_SafeFile::shell(const QString &line)
{
    QProcess sh;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("D", m_dir->path());
    environment.insert("F", file());
    environment.insert("LC_ALL", "C.UTF-8");
    sh.setProcessEnvironment(environment);
    sh.start("sh", {"-ec", line});
    if (!sh.waitForFinished(20000) || sh.exitStatus() != QProcess::NormalExit
        || sh.exitCode() != 0) {
        qWarning().noquote() << line << sh.readAllStandardError();
        return false;
    }
    return true;
}

void tst_SafeFile::expectFailure(const std::function<int()> &save, Kind kind, bool oldKept)
{
    const QStringList before = snapshot(m_dir->path());
    QCOMPARE(save(), codeOf(kind, oldKept));
    QCOMPARE(snapshot(m_dir->path()), before); // nothing changed, nothing left behind
}

bool tst_SafeFile::startTraced(QProcess &driver, const QString &fault, const QByteArray &bytes)
{
    // LeakSanitizer cannot run under a tracer and would fail the sanitizer build's driver.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":detect_leaks=0");
    driver.setProcessEnvironment(environment);
    driver.start("strace",
                 {"-f", "-qq", "-o", "/dev/null", "-e", "trace=fsync", "-e", fault, SAFEFILE_DRIVER,
                  file(), QString::fromLatin1(bytes)});
    return driver.waitForReadyRead(10000);
}

// clang-format off
void tst_SafeFile::readStartReadsNothingFromWhatIsNotAFile_data()
{
    QTest::addColumn<QString>("setup");
    QTest::newRow("directory")     << "rm $F; mkdir $F";
    QTest::newRow("fifo")          << "rm $F; mkfifo $F";         // opening it would block
    QTest::newRow("link-to-zero")  << "rm $F; ln -s /dev/zero $F"; // endless bytes
    QTest::newRow("dangling-link") << "rm $F; ln -s gone $F";
}
// clang-format on

void tst_SafeFile::readStartReadsNothingFromWhatIsNotAFile()
{
    QFETCH(QString, setup);
    QVERIFY(shell(setup));
    QVERIFY(!storage::readStart(pathOf(file()), 100));
}

void tst_SafeFile::readStartNeverBlocksWhenAFifoTakesThePlace()
{
    // A FIFO and a file take turns under the name while the reads run: a read that checks
    // the name first and opens it after would sooner or later block on the FIFO, and
    // the test's timeout would end it. The reads go on until they have met both, however
    // busy the machine: a file read, and a FIFO passed over, 100 times each.
    const QByteArray name = QFile::encodeName(file());
    const QByteArray fifo = QFile::encodeName(m_dir->filePath("fifo"));
    const QByteArray regular = QFile::encodeName(m_dir->filePath("regular"));
    std::atomic<bool> done {false};
    std::thread swapper([&] {
        while (!done) {
            ::mkfifo(fifo.constData(), 0600);
            ::rename(fifo.constData(), name.constData());
            if (int fd = ::open(regular.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600); fd >= 0) {
                [[maybe_unused]] const ssize_t written = ::write(
                    fd, oldBytes.constData(), static_cast<size_t>(oldBytes.size()));
                ::close(fd);
            }
            ::rename(regular.constData(), name.constData());
        }
    });
    int read = 0;
    int passedOver = 0;
    while (read < 100 || passedOver < 100) {
        struct stat before = {};
        const bool wasFifo = ::lstat(name.constData(), &before) == 0 && S_ISFIFO(before.st_mode);
        const bool gotBytes = storage::readStart(pathOf(file()), 100).has_value();
        read += gotBytes;
        passedOver += wasFifo && !gotBytes;
    }
    done = true;
    swapper.join();
}

// clang-format off
void tst_SafeFile::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("oldKept");
    QTest::newRow("old-file")  << "printf ' 25 \\r\\n' > $D/full/Ratinor.ini" << true;
    // The first run: there is no old content to speak of
    QTest::newRow("first-run") << "true" << false;
}
// clang-format on

void tst_SafeFile::fullDiskKeepsTheOldFile()
{
    QFETCH(QString, setup);
    QFETCH(bool, oldKept);
    if (!shell("mkdir $D/full && mount -t tmpfs -o size=64k,mode=0777 tmpfs $D/full"))
        QSKIP("mounting a tmpfs is refused here; the file-size limit stands in");
    QVERIFY(shell(setup));
    QVERIFY(shell("cat /dev/zero > $D/full/filler 2>/dev/null || true"));
    const QString name = m_dir->filePath("full/Ratinor.ini");
    const QStringList before = snapshot(m_dir->filePath("full"));
    QCOMPARE(saveAs(0, name, newBytes), codeOf(Kind::DiskFull, oldKept));
    QCOMPARE(snapshot(m_dir->filePath("full")), before);
}

void tst_SafeFile::fileSizeLimitKeepsTheOldFile()
{
    // The file-size limit fails the write as a full disk does; its signal is ignored, as
    // the program does.
    expectFailure(
        [this] {
            const pid_t child = ::fork();
            if (child == 0) {
                ::signal(SIGXFSZ, SIG_IGN);
                const rlimit limit {10, 10};
                ::setrlimit(RLIMIT_FSIZE, &limit);
                ::_exit(codeOf(storage::replaceContent(pathOf(file()), newBytes.toStdString())));
            }
            int status = 0;
            ::waitpid(child, &status, 0);
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        },
        Kind::DiskFull, true);
}

// clang-format off
void tst_SafeFile::refusesWhatItMustNotWrite_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("oldKept");
    const QString link = "rm $F && ln -s t $F && ";
    const QString linkToFile = "mv $F $D/t && ln -s t $F && ";
    QTest::newRow("directory")      << "rm $F && mkdir $F"                 << Kind::Directory << false;
    QTest::newRow("link-to-fifo")   << link + "mkfifo $D/t"                << Kind::NotRegularFile << false;
    // A null device of the test's own: a save that replaced it would show as a regular file
    QTest::newRow("link-to-device") << link + "mknod $D/t c 1 3"           << Kind::NotRegularFile << false;
    QTest::newRow("link-to-socket") << link + "python3 -c 'import socket,sys; "
                                       "socket.socket(socket.AF_UNIX).bind(sys.argv[1])' $D/t"
                                                                           << Kind::NotRegularFile << false;
    // Its owner made it read-only: not even root overwrites it
    QTest::newRow("read-only")      << "chmod 0444 $F"                     << Kind::ReadOnly << true;
    // Links that another user planted where others may write are not followed
    QTest::newRow("planted-in-sticky-folder")
        << linkToFile + "chown -h nobody $F && chmod 1777 $D"              << Kind::UntrustedLink << false;
    QTest::newRow("planted-in-group-folder")
        << linkToFile + "chown -h nobody $F && chmod 2775 $D"              << Kind::UntrustedLink << false;
    QTest::newRow("link-loop")      << link + "ln -s u $D/t && ln -s t $D/u" << Kind::LinkLoop << false;
    QTest::newRow("link-into-missing-folder")
        << "rm $F && ln -s gone/Ratinor.ini $F"                            << Kind::LinkTargetMissing << false;
}
// clang-format on

void tst_SafeFile::refusesWhatItMustNotWrite()
{
    QFETCH(QString, setup);
    QFETCH(Kind, kind);
    QFETCH(bool, oldKept);
    if (!shell(setup))
        QSKIP("the machine refuses to make this case (it needs root)");
    expectFailure([this] { return saveAs(0, file(), newBytes); }, kind, oldKept);
}

// clang-format off
void tst_SafeFile::replaceKeepsWhatTheFileHas_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<uint>("saver");
    const QString alices = "chown 61001:61000 $D $F && ";
    QTest::newRow("mode-and-owner")  << "chmod 0640 $F && chown nobody:nogroup $F" << 0u;
    // The user's own file with an ACL: the mode's group bits are the ACL's mask
    QTest::newRow("acl")             << alices + "chmod 0600 $F && setfacl -m u:61002:rw,g::- $F" << alice;
    QTest::newRow("user-attribute")  << alices + "setfattr -n user.club -v Nord $F" << alice;
    QTest::newRow("second-link")     << alices + "ln $F $D/second" << alice;
    // Alice's file in the club's folder, saved by Bob
    QTest::newRow("others-file")     << alices + "chmod 2775 $D && chmod 0664 $F" << bob;
    QTest::newRow("others-acl-file") << alices + "chmod 2775 $D && chmod 0600 $F && setfacl -m u:61002:rw $F" << bob;
    // The user's own file in a folder that is not the user's
    QTest::newRow("folder-not-writable") << "chown 61001 $F && chmod 0755 $D" << alice;
    // A file mounted on its own, as in a container's volume
    QTest::newRow("bind-mounted")    << "cp $F $D/volume && mount --bind $D/volume $F" << 0u;
    // Names can be added to the folder but never removed
    QTest::newRow("append-only-folder") << "chattr +a $D" << 0u;
}
// clang-format on

void tst_SafeFile::replaceKeepsWhatTheFileHas()
{
    QFETCH(QString, setup);
    QFETCH(uint, saver);
    if (!shell(setup))
        QSKIP("the machine refuses to make this case (it needs root, acl, attr and ext4)");
    QStringList expected = snapshot(m_dir->path());
    expected.replaceInStrings(QString::fromLatin1(oldBytes.toPercentEncoding()),
                              QString::fromLatin1(newBytes.toPercentEncoding()));
    QCOMPARE(saveAs(saver, file(), newBytes), 0);
    QCOMPARE(snapshot(m_dir->path()), expected);
}

// clang-format off
void tst_SafeFile::failedInPlaceWritePutsEveryByteBack_data()
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

void tst_SafeFile::failedInPlaceWritePutsEveryByteBack()
{
    QFETCH(int, failingSync);
    QFETCH(QByteArray, old);
    QFETCH(bool, oldKept);
    // A second name makes the save write in place; a failing disk fails the sync.
    QVERIFY(writeAll(file(), old));
    QVERIFY(shell("ln $F $D/second"));
    QProcess driver;
    if (!startTraced(driver, QStringLiteral("inject=fsync:error=EIO:when=%1").arg(failingSync),
                     newBytes))
        QSKIP("strace is missing or cannot trace here");
    QVERIFY(driver.waitForFinished(20000));
    QCOMPARE(driver.exitCode(), codeOf(Kind::DriveFault, oldKept));
    if (oldKept)
        QCOMPARE(readAll(file()), old);
}

void tst_SafeFile::signalWaitsForTheSave()
{
    // A logout's SIGTERM while the sync takes its time ends the program only after the save.
    QProcess driver;
    if (!startTraced(driver, "inject=fsync:delay_enter=1500000:when=1", newBytes))
        QSKIP("strace is missing or cannot trace here");
    const pid_t pid = driver.readLine().trimmed().toInt();
    QVERIFY(pid > 0);
    QTest::qWait(300);
    QCOMPARE(::kill(pid, SIGTERM), 0);
    QVERIFY(driver.waitForFinished(20000));
    QCOMPARE(readAll(file()), newBytes);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList {"Ratinor.ini"});
    QCOMPARE(driver.exitStatus(), QProcess::CrashExit); // strace ends as its tracee did
}

void tst_SafeFile::killedSavesLeaveNothingBehind()
{
    // An older version's names: one from a killed save days ago, one that may still be live.
    QVERIFY(writeAll(m_dir->filePath(".Ratinor.ini.7.1"), newBytes));
    QVERIFY(shell("touch -d '2 days ago' $D/.Ratinor.ini.7.1"));
    QVERIFY(writeAll(m_dir->filePath(".Ratinor.ini.8.1"), newBytes));
    for (int i = 0; i < 100; ++i) {
        QProcess driver;
        driver.start(SAFEFILE_DRIVER,
                     {file(), QString::fromLatin1(i % 2 ? oldBytes : newBytes), "loop"});
        QVERIFY(driver.waitForReadyRead(10000));
        ::usleep(static_cast<useconds_t>(QRandomGenerator::global()->bounded(20000)));
        driver.kill();
        QVERIFY(driver.waitForFinished(10000));
        QVERIFY(readAll(file()) == oldBytes || readAll(file()) == newBytes); // whole, never torn
    }
    QCOMPARE(saveAs(0, file(), newBytes), 0);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
             (QStringList {".Ratinor.ini.8.1", "Ratinor.ini"}));
}

void tst_SafeFile::folderNameKeepsItsBytes()
{
    // "Schach-ä" in Latin-1: not UTF-8, and no text conversion may touch it.
    const std::filesystem::path folder = pathOf(m_dir->path()) / "Schach-\xE4";
    QVERIFY(std::filesystem::create_directory(folder));
    QVERIFY(!storage::replaceContent(folder / "Ratinor.ini", newBytes.toStdString()));
    QCOMPARE(storage::readStart(folder / "Ratinor.ini", 100), newBytes.toStdString());
    std::filesystem::remove_all(folder); // Qt cannot name it to remove it
}

void tst_SafeFile::folderGone()
{
    QVERIFY(QDir(m_dir->path()).mkdir("work"));
    QVERIFY(QDir::setCurrent(m_dir->filePath("work")));
    QVERIFY(QDir(m_dir->path()).rmdir("work"));
    expectFailure([] { return codeOf(storage::replaceContent("Ratinor.ini", "x")); },
                  Kind::FolderGone, false); // nothing written anywhere else
}

QTEST_GUILESS_MAIN(tst_SafeFile)
#include "tst_safefile.moc"
