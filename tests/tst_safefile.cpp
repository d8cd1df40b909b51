// SPDX-License-Identifier: GPL-3.0-or-later
// The careful read and replace under real faults made in a fresh folder: devices, FIFOs,
// bind mounts, ACLs, extended attributes, hard links, other users' files and links,
// append-only folders, a folder gone. A case the machine cannot make is skipped.
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

class tst_SafeFile : public QObject
{
    Q_OBJECT
private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }
    void readStartReadsNothingFromWhatIsNotAFile_data();
    void readStartReadsNothingFromWhatIsNotAFile();
    void readStartNeverBlocksWhenAFifoTakesThePlace();
    void refusesWhatItMustNotWrite_data();
    void refusesWhatItMustNotWrite();
    void replaceKeepsWhatTheFileHas_data();
    void replaceKeepsWhatTheFileHas();
    void folderNameKeepsItsBytes();
    void folderGone();

private:
    SafeFileFixture f;
};

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
    QVERIFY(f.shell(setup));
    QVERIFY(!storage::readStart(pathOf(f.file()), 100));
}

void tst_SafeFile::readStartNeverBlocksWhenAFifoTakesThePlace()
{
    // A FIFO and a file take turns under the name while the reads run: a read that checks
    // the name first and opens it after would sooner or later block on the FIFO, and
    // the test's timeout would end it. The reads go on until they have met both, however
    // busy the machine: a file read, and a FIFO passed over, 100 times each.
    const QByteArray name = QFile::encodeName(f.file());
    const QByteArray fifo = QFile::encodeName(f.dir->filePath("fifo"));
    const QByteArray regular = QFile::encodeName(f.dir->filePath("regular"));
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
        const bool gotBytes = storage::readStart(pathOf(f.file()), 100).has_value();
        read += gotBytes;
        passedOver += wasFifo && !gotBytes;
    }
    done = true;
    swapper.join();
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
    if (!f.shell(setup))
        QSKIP("the machine refuses to make this case (it needs root)");
    f.expectFailure([this] { return saveAs(0, f.file(), newBytes); }, kind, oldKept);
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
    if (!f.shell(setup))
        QSKIP("the machine refuses to make this case (it needs root, acl, attr and ext4)");
    QStringList expected = snapshot(f.dir->path());
    expected.replaceInStrings(QString::fromLatin1(oldBytes.toPercentEncoding()),
                              QString::fromLatin1(newBytes.toPercentEncoding()));
    QCOMPARE(saveAs(saver, f.file(), newBytes), 0);
    QCOMPARE(snapshot(f.dir->path()), expected);
}

void tst_SafeFile::folderNameKeepsItsBytes()
{
    // "Schach-ä" in Latin-1: not UTF-8, and no text conversion may touch it.
    const std::filesystem::path folder = pathOf(f.dir->path()) / "Schach-\xE4";
    QVERIFY(std::filesystem::create_directory(folder));
    QVERIFY(!storage::replaceContent(folder / "Ratinor.ini", newBytes.toStdString()));
    QCOMPARE(storage::readStart(folder / "Ratinor.ini", 100), newBytes.toStdString());
    std::filesystem::remove_all(folder); // Qt cannot name it to remove it
}

void tst_SafeFile::folderGone()
{
    QVERIFY(QDir(f.dir->path()).mkdir("work"));
    QVERIFY(QDir::setCurrent(f.dir->filePath("work")));
    QVERIFY(QDir(f.dir->path()).rmdir("work"));
    f.expectFailure([] { return codeOf(storage::replaceContent("Ratinor.ini", "x")); },
                    Kind::FolderGone, false); // nothing written anywhere else
}

QTEST_GUILESS_MAIN(tst_SafeFile)
#include "tst_safefile.moc"
