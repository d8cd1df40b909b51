// SPDX-License-Identifier: GPL-3.0-or-later
// The entries file under real faults: full disks, file-size limits, devices, FIFOs, bind
// mounts, folders and links of other users. POSIX only; each fault is made for real, and a
// case the machine cannot make (no root, mounting refused) is skipped with the reason.
#include "storage/entriesfile.h"
#include "tests/testfiles.h"

#include <QtTest>

#include <atomic>
#include <csignal>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <pwd.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using Kind = storage::SaveError::Kind;
Q_DECLARE_METATYPE(Kind)

namespace {

const QByteArray oldBytes(" 25 \r\n 1700 \r\n 1650 \r\n");
const QByteArray newBytes(" 30 \r\n 1500 \r\n 1600 \r\n");

using testfiles::pathOf;
using testfiles::readAll;
using testfiles::writeAll;

// What a save can change about a name: its kind, mode, owner and, for a file, its bytes.
QString describe(const QString &name)
{
    struct stat status
    {
    };
    if (::lstat(QFile::encodeName(name).constData(), &status) != 0)
        return QStringLiteral("nothing");
    QString text = QStringLiteral("mode %1 owner %2:%3")
                       .arg(status.st_mode, 0, 8)
                       .arg(status.st_uid)
                       .arg(status.st_gid);
    if (S_ISREG(status.st_mode))
        text += ' ' + QString::fromLatin1(readAll(name).toPercentEncoding());
    return text;
}

// The result of a save made in a child process, as an exit code: 0, or 10 + the kind.
int exitCodeOf(const std::optional<storage::SaveError> &failure)
{
    return failure ? 10 + static_cast<int>(failure->kind) : 0;
}

// Runs a save in a child process, after prepare() has limited it there.
int saveInChild(const QString &name, const std::function<bool()> &prepare)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (!prepare())
            ::_exit(99);
        ::_exit(exitCodeOf(storage::save(pathOf(name), 30, 1500, 1600)));
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

const struct passwd *otherUser()
{
    return ::getpwnam("nobody");
}

} // namespace

class tst_EntriesFileFaults : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadReadsNothingFromWhatIsNotAFile_data();
    void loadReadsNothingFromWhatIsNotAFile();
    void loadNeverBlocksWhenAFifoTakesThePlace();
    void failedWriteKeepsTheOldFile_data();
    void failedWriteKeepsTheOldFile();
    void refusesWhatItMustNotWrite_data();
    void refusesWhatItMustNotWrite();
    void writesInPlaceWhereNoNewFileCanBeMade_data();
    void writesInPlaceWhereNoNewFileCanBeMade();
    void replacementKeepsModeAndOwner();
    void folderNameKeepsItsBytes();
    void folderGone();

private:
    QString file() const { return m_dir->filePath("Ratinor.ini"); }
    bool mount(const QString &source, const QString &target, const char *type, unsigned long flags,
               const char *options);

    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_mounts;
};

void tst_EntriesFileFaults::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_EntriesFileFaults::cleanup()
{
    while (!m_mounts.isEmpty())
        ::umount2(QFile::encodeName(m_mounts.takeLast()).constData(), MNT_DETACH);
    QDir::setCurrent(QDir::tempPath());
    m_dir.reset();
}

bool tst_EntriesFileFaults::mount(const QString &source, const QString &target, const char *type,
                                  unsigned long flags, const char *options)
{
    if (::mount(QFile::encodeName(source).constData(), QFile::encodeName(target).constData(), type,
                flags, options)
        != 0)
        return false;
    m_mounts << target;
    return true;
}

enum class Node { Directory, Fifo, DeviceLink, DanglingLink };

// clang-format off
void tst_EntriesFileFaults::loadReadsNothingFromWhatIsNotAFile_data()
{
    QTest::addColumn<Node>("node");
    QTest::newRow("directory")     << Node::Directory;
    QTest::newRow("fifo")          << Node::Fifo;       // opening it would block for ever
    QTest::newRow("link-to-zero")  << Node::DeviceLink; // endless bytes
    QTest::newRow("dangling-link") << Node::DanglingLink;
}
// clang-format on

void tst_EntriesFileFaults::loadReadsNothingFromWhatIsNotAFile()
{
    QFETCH(Node, node);
    const QByteArray name = QFile::encodeName(file());
    switch (node) {
    case Node::Directory:
        QCOMPARE(::mkdir(name.constData(), 0700), 0);
        break;
    case Node::Fifo:
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        break;
    case Node::DeviceLink:
        QCOMPARE(::symlink("/dev/zero", name.constData()), 0);
        break;
    case Node::DanglingLink:
        QCOMPARE(::symlink("gone", name.constData()), 0);
        break;
    }
    const storage::StoredEntries entries = storage::load(pathOf(file()));
    QVERIFY(!entries.k && !entries.own && !entries.opponent);
}

void tst_EntriesFileFaults::loadNeverBlocksWhenAFifoTakesThePlace()
{
    // A FIFO and a file take turns under the name while the load runs: a load that checks
    // the name first and opens it after would sooner or later block on the FIFO, and
    // the test's timeout would end it.
    const QByteArray name = QFile::encodeName(file());
    const QByteArray fifo = QFile::encodeName(m_dir->filePath("fifo"));
    const QByteArray regular = QFile::encodeName(m_dir->filePath("regular"));
    std::atomic<bool> done {false};
    std::thread swapper([&] {
        while (!done) {
            ::mkfifo(fifo.constData(), 0600);
            ::rename(fifo.constData(), name.constData());
            if (int fd = ::open(regular.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600); fd >= 0) {
                (void)::write(fd, oldBytes.constData(), static_cast<size_t>(oldBytes.size()));
                ::close(fd);
            }
            ::rename(regular.constData(), name.constData());
        }
    });
    int read = 0;
    for (int i = 0; i < 3000; ++i)
        read += storage::load(pathOf(file())).k.has_value();
    done = true;
    swapper.join();
    QVERIFY(read > 0); // the file was there some of the time, and was read then
}

enum class Fault { FileSizeLimit, FullDisk };

// clang-format off
void tst_EntriesFileFaults::failedWriteKeepsTheOldFile_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::newRow("file-size-limit") << Fault::FileSizeLimit;
    QTest::newRow("full-tmpfs")      << Fault::FullDisk;
}
// clang-format on

void tst_EntriesFileFaults::failedWriteKeepsTheOldFile()
{
    QFETCH(Fault, fault);
    QDir folder(m_dir->path());
    if (fault == Fault::FullDisk) {
        QVERIFY(folder.mkdir("disk"));
        if (!mount("tmpfs", folder.filePath("disk"), "tmpfs", 0, "size=64k,mode=0700"))
            QSKIP("mounting a tmpfs is refused here; the file-size limit row stands in");
        QVERIFY(folder.cd("disk"));
    }
    const QString name = folder.filePath("Ratinor.ini");
    QVERIFY(writeAll(name, oldBytes));
    if (fault == Fault::FullDisk) {
        QFile filler(folder.filePath("filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) { }
    }
    const QStringList before = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    const int result = saveInChild(name, [fault] {
        // The file-size limit fails the write as a full disk does; its signal is ignored,
        // as the program does.
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit {10, 10};
        return fault != Fault::FileSizeLimit || ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    });
    QCOMPARE(result, exitCodeOf(storage::SaveError {Kind::DiskFull}));
    QCOMPARE(readAll(name), oldBytes);
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
}

enum class Obstacle { Directory, FifoLink, DeviceLink, SocketLink, ReadOnly, UntrustedLink };

// clang-format off
void tst_EntriesFileFaults::refusesWhatItMustNotWrite_data()
{
    QTest::addColumn<Obstacle>("obstacle");
    QTest::addColumn<Kind>("kind");
    QTest::newRow("directory")      << Obstacle::Directory     << Kind::Directory;
    QTest::newRow("link-to-fifo")   << Obstacle::FifoLink      << Kind::NotRegularFile;
    QTest::newRow("link-to-device") << Obstacle::DeviceLink    << Kind::NotRegularFile;
    QTest::newRow("link-to-socket") << Obstacle::SocketLink    << Kind::NotRegularFile;
    // Its owner made it read-only: not even root overwrites it
    QTest::newRow("read-only")      << Obstacle::ReadOnly      << Kind::ReadOnly;
    // A link another user planted in a sticky, world-writable folder is not followed
    QTest::newRow("untrusted-link") << Obstacle::UntrustedLink << Kind::UntrustedLink;
}
// clang-format on

void tst_EntriesFileFaults::refusesWhatItMustNotWrite()
{
    QFETCH(Obstacle, obstacle);
    QFETCH(Kind, kind);
    QString name = file();
    const QString target = m_dir->filePath("target");
    const QByteArray targetName = QFile::encodeName(target);
    int socketFd = -1;
    switch (obstacle) {
    case Obstacle::Directory:
        QVERIFY(QDir(m_dir->path()).mkdir("Ratinor.ini"));
        break;
    case Obstacle::FifoLink:
        QCOMPARE(::mkfifo(targetName.constData(), 0600), 0);
        break;
    case Obstacle::DeviceLink:
        // A null device of our own: a save that replaced it would show as a regular file.
        if (::mknod(targetName.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("making a device node is refused here");
        break;
    case Obstacle::SocketLink: {
        socketFd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, targetName.constData(), sizeof address.sun_path);
        QCOMPARE(::bind(socketFd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        break;
    }
    case Obstacle::ReadOnly:
        QVERIFY(writeAll(name, oldBytes));
        QCOMPARE(::chmod(QFile::encodeName(name).constData(), 0444), 0);
        break;
    case Obstacle::UntrustedLink: {
        const struct passwd *other = otherUser();
        if (::geteuid() != 0 || !other)
            QSKIP("a link owned by another user needs root and the user nobody");
        QVERIFY(writeAll(target, oldBytes));
        QVERIFY(QDir(m_dir->path()).mkdir("shared"));
        QCOMPARE(::chmod(QFile::encodeName(m_dir->filePath("shared")).constData(), 01777), 0);
        name = m_dir->filePath("shared/Ratinor.ini");
        const QByteArray link = QFile::encodeName(name);
        QCOMPARE(::symlink(targetName.constData(), link.constData()), 0);
        QCOMPARE(::lchown(link.constData(), other->pw_uid, other->pw_gid), 0);
        break;
    }
    }
    if (obstacle == Obstacle::FifoLink || obstacle == Obstacle::DeviceLink
        || obstacle == Obstacle::SocketLink)
        QCOMPARE(::symlink(targetName.constData(), QFile::encodeName(name).constData()), 0);

    const QString nameBefore = describe(name);
    const QString targetBefore = describe(target);
    const auto failure = storage::save(pathOf(name), 30, 1500, 1600);
    if (socketFd >= 0)
        ::close(socketFd);
    QVERIFY(failure);
    QCOMPARE(failure->kind, kind);
    QCOMPARE(describe(name), nameBefore);
    QCOMPARE(describe(target), targetBefore);
    QCOMPARE(QDir(QFileInfo(name).path()).entryList(QDir::Hidden | QDir::Files).filter(".Ratinor"),
             QStringList());
}

enum class NoNewFile { FolderNotWritable, BindMounted };

// clang-format off
void tst_EntriesFileFaults::writesInPlaceWhereNoNewFileCanBeMade_data()
{
    QTest::addColumn<NoNewFile>("cause");
    QTest::newRow("folder-not-writable") << NoNewFile::FolderNotWritable;
    QTest::newRow("bind-mounted")        << NoNewFile::BindMounted; // a container's volume
}
// clang-format on

void tst_EntriesFileFaults::writesInPlaceWhereNoNewFileCanBeMade()
{
    QFETCH(NoNewFile, cause);
    QVERIFY(writeAll(file(), oldBytes));
    QString written = file();
    int result = -1;
    if (cause == NoNewFile::FolderNotWritable) {
        // The user's own file in a folder that is not the user's.
        const struct passwd *other = otherUser();
        if (::geteuid() != 0 || !other)
            QSKIP("a user without rights needs root and the user nobody");
        QCOMPARE(::chmod(QFile::encodeName(m_dir->path()).constData(), 0755), 0);
        QCOMPARE(::chown(QFile::encodeName(file()).constData(), other->pw_uid, other->pw_gid), 0);
        result = saveInChild(file(), [other] {
            return ::setgid(other->pw_gid) == 0 && ::setuid(other->pw_uid) == 0;
        });
    } else {
        written = m_dir->filePath("volume");
        QVERIFY(writeAll(written, oldBytes));
        if (!mount(written, file(), nullptr, MS_BIND, nullptr))
            QSKIP("bind mounts are refused here");
        result = exitCodeOf(storage::save(pathOf(file()), 30, 1500, 1600));
    }
    QCOMPARE(result, 0);
    QCOMPARE(readAll(written), newBytes);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Hidden | QDir::Files).filter(".Ratinor"),
             QStringList());
}

void tst_EntriesFileFaults::replacementKeepsModeAndOwner()
{
    QVERIFY(writeAll(file(), oldBytes));
    const QByteArray name = QFile::encodeName(file());
    QCOMPARE(::chmod(name.constData(), 0640), 0);
    const struct passwd *other = otherUser();
    const bool root = ::geteuid() == 0 && other;
    if (root)
        QCOMPARE(::chown(name.constData(), other->pw_uid, other->pw_gid), 0);
    struct stat before
    {
    };
    QCOMPARE(::stat(name.constData(), &before), 0);
    QVERIFY(!storage::save(pathOf(file()), 30, 1500, 1600));
    struct stat after
    {
    };
    QCOMPARE(::stat(name.constData(), &after), 0);
    QCOMPARE(readAll(file()), newBytes);
    QVERIFY(after.st_ino != before.st_ino); // replaced, not written over
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    if (!root)
        QSKIP("mode checked; the owner of another user needs root");
}

void tst_EntriesFileFaults::folderNameKeepsItsBytes()
{
    // "Schach-ä" in Latin-1: not UTF-8, and no text conversion may touch it.
    const std::filesystem::path folder = pathOf(m_dir->path()) / "Schach-\xE4";
    QVERIFY(std::filesystem::create_directory(folder));
    QVERIFY(!storage::save(folder / "Ratinor.ini", 25, 1700, 1650));
    QCOMPARE(storage::load(folder / "Ratinor.ini").opponent, std::optional<std::int16_t>(1650));
    QVERIFY(std::filesystem::is_regular_file(folder / "Ratinor.ini"));
    std::filesystem::remove_all(folder); // Qt cannot name it to remove it
}

void tst_EntriesFileFaults::folderGone()
{
    QVERIFY(QDir(m_dir->path()).mkdir("work"));
    QVERIFY(QDir::setCurrent(m_dir->filePath("work")));
    QVERIFY(QDir(m_dir->path()).rmdir("work"));
    const auto failure = storage::save("Ratinor.ini", 30, 1500, 1600);
    QVERIFY(failure);
    QCOMPARE(failure->kind, Kind::FolderGone);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList()); // nothing written anywhere else
}

QTEST_GUILESS_MAIN(tst_EntriesFileFaults)
#include "tst_entriesfilefaults.moc"
