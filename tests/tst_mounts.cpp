// SPDX-License-Identifier: GPL-3.0-or-later
// The save where clubs keep their file: FAT, exFAT and NTFS through their FUSE drivers,
// an sshfs share whose files show the server's account as owner, and an SMB share
// through smbnetfs, each made for real by mounts.sh for the whole run. A file system the
// machine cannot make is skipped with the reason.
#include "storage/entriesfile.h"
#include "storage/leftovers_posix.h"
#include "storage/safefile.h"
#include "tests/savecode.h"
#include "tests/testfiles.h"

#include <QtTest>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using Kind = storage::SaveError::Kind;

namespace {

using testfiles::pathOf;
using testfiles::readAll;
using testfiles::writeAll;

const QByteArray oldBytes(" 25 \r\n 1700 \r\n 1650 \r\n");
constexpr uid_t alice = 61001;

int saveAs(uid_t user, const QString &name, const QByteArray &bytes)
{
    return ::saveAs(user, user, pathOf(name), bytes.toStdString());
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                  | QDir::NoDotAndDotDot);
}

bool shell(const QString &line)
{
    QProcess sh;
    sh.start("sh", {"-ec", line});
    return sh.waitForFinished(20000) && sh.exitStatus() == QProcess::NormalExit
        && sh.exitCode() == 0;
}

// The temporary name a save of this process makes, with another process id in it.
QString temporaryNameOf(qint64 pid)
{
    QStringList fields = QString::fromStdString(storage::posix::nextTemporaryName("Ratinor.ini"))
                             .split('.');
    fields[fields.size() - 3] = QString::number(pid); // ".NAME.ini.HOST.PID.START.COUNT"
    return fields.join('.');
}

} // namespace

class tst_Mounts : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void saveHoldsExactlyTheNewBytes_data();
    void saveHoldsExactlyTheNewBytes();
    void onlyDeadSavesLeftoversGo_data();
    void onlyDeadSavesLeftoversGo();
    void twoSavesAtOnceNeverFail_data();
    void twoSavesAtOnceNeverFail();
    void windowsAttributesStay_data();
    void windowsAttributesStay();
    void startSeesTheFileWhileItIsReplaced_data();
    void startSeesTheFileWhileItIsReplaced();
    void lostConnectionIsNamed();

private:
    // One row per mount that could be made, and one on the machine's own disk.
    void addMountRows(const QStringList &only = {});
    QString folder() const;
    QString file() const { return folder() + "/Ratinor.ini"; }

    QTemporaryDir m_root;
    QMap<QString, QString> m_mounts; // name -> folder
};

void tst_Mounts::initTestCase()
{
    QVERIFY(m_root.isValid());
    m_mounts.insert("local", m_root.filePath("local"));
    QVERIFY(QDir().mkpath(m_mounts["local"]));
    QProcess up;
    up.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    up.start(QStringLiteral(MOUNTS_SH), {"up", m_root.path()});
    QVERIFY(up.waitForFinished(60000));
    for (const QByteArray &line : up.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 2)
            m_mounts.insert(QString::fromUtf8(fields[0]), QString::fromUtf8(fields[1]));
    }
}

void tst_Mounts::cleanupTestCase()
{
    QProcess down;
    down.start(QStringLiteral(MOUNTS_SH), {"down", m_root.path()});
    QVERIFY(down.waitForFinished(30000));
}

void tst_Mounts::init()
{
    if (QTest::currentDataTag()
        && !m_mounts.contains(QString(QTest::currentDataTag()).section('-', 0, 0)))
        QSKIP("this file system could not be mounted here (root, FUSE and its driver are needed)");
    for (const QString &name : namesIn(folder()))
        QVERIFY(QFile::remove(folder() + "/" + name)
                || QDir(folder() + "/" + name).removeRecursively());
}

QString tst_Mounts::folder() const
{
    return m_mounts.value(QString(QTest::currentDataTag()).section('-', 0, 0));
}

void tst_Mounts::addMountRows(const QStringList &only)
{
    QTest::addColumn<QString>("mount"); // the tag names it too, for init()
    for (const char *name : {"local", "fat", "exfat", "ntfs", "sshfs", "smb"})
        if (only.isEmpty() || only.contains(name))
            QTest::newRow(name) << QString::fromLatin1(name);
}

// clang-format off
void tst_Mounts::saveHoldsExactlyTheNewBytes_data()
{
    QTest::addColumn<QByteArray>("old");      // empty: the first save
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("bindMounted");    // a file mounted on its own is written in place
    QTest::addColumn<uint>("saver");
    const QByteArray shorter(" 30 \r\n 150 \r\n 2 \r\n");
    const QByteArray longer(" 30 \r\n 21500 \r\n 21600 \r\n");
    for (const char *fs : {"local", "fat", "exfat", "ntfs", "sshfs", "smb"}) {
        const QByteArray name(fs);
        QTest::newRow(name + "-first")    << QByteArray() << shorter << false << 0u;
        QTest::newRow(name + "-shorter")  << oldBytes << shorter << false << 0u;
        QTest::newRow(name + "-longer")   << oldBytes << longer  << false << 0u;
        QTest::newRow(name + "-in-place") << oldBytes << shorter << true  << 0u;
    }
    // Mounted by root, every file shows root as its owner: no mode can be set by the user
    QTest::newRow("exfat-first-by-user")   << QByteArray() << shorter << false << uint(alice);
    QTest::newRow("exfat-shorter-by-user") << oldBytes     << shorter << false << uint(alice);
}
// clang-format on

void tst_Mounts::saveHoldsExactlyTheNewBytes()
{
    QFETCH(QByteArray, old);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, bindMounted);
    QFETCH(uint, saver);
    QStringList expected {"Ratinor.ini"};
    if (!old.isEmpty())
        QVERIFY(writeAll(file(), old));
    if (bindMounted) {
        QVERIFY(writeAll(folder() + "/volume", old));
        if (!shell("mount --bind '" + folder() + "/volume' '" + file() + "'"))
            QSKIP("a bind mount is refused here");
        expected.append("volume");
    }
    const int code = saveAs(saver, file(), bytes);
    const QByteArray held = readAll(file());
    if (bindMounted)
        shell("umount '" + file() + "'");
    QCOMPARE(code, 0);
    QCOMPARE(held, bytes);
    QCOMPARE(namesIn(folder()), expected); // nothing left behind
}

void tst_Mounts::onlyDeadSavesLeftoversGo_data()
{
    addMountRows();
}

void tst_Mounts::onlyDeadSavesLeftoversGo()
{
    QProcess finished;
    finished.start("true");
    QVERIFY(finished.waitForFinished(5000));
    const QString dead = temporaryNameOf(finished.processId());
    const QString live = temporaryNameOf(QCoreApplication::applicationPid()); // this test's
    const QString otherHost = ".Ratinor.ini.clubhaus.12.345.1";
    const QString otherHostOld = ".Ratinor.ini.clubhaus.13.345.1";
    const QString olderVersion = ".Ratinor.ini.14.1"; // without a host: fresh, so kept
    for (const QString &name : {dead, live, otherHost, otherHostOld, olderVersion})
        QVERIFY(writeAll(folder() + "/" + name, oldBytes));
    QVERIFY(shell("touch -d '2 days ago' '" + folder() + "/" + otherHostOld + "'"));
    QCOMPARE(saveAs(0, file(), oldBytes), 0);
    QStringList expected {live, otherHost, olderVersion, "Ratinor.ini"};
    expected.sort();
    QCOMPARE(namesIn(folder()), expected);
}

void tst_Mounts::twoSavesAtOnceNeverFail_data()
{
    addMountRows({"exfat", "ntfs", "sshfs"}); // no unnamed files there: every save has a name
}

void tst_Mounts::twoSavesAtOnceNeverFail()
{
    // A save loop ends at its first failure; both must still be saving after a second.
    QProcess first;
    QProcess second;
    first.start(SAFEFILE_DRIVER, {file(), QString::fromLatin1(oldBytes), "loop"});
    second.start(SAFEFILE_DRIVER, {file(), QString::fromLatin1(oldBytes), "loop"});
    QVERIFY(first.waitForReadyRead(5000) && second.waitForReadyRead(5000));
    QTest::qWait(1000);
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(second.state(), QProcess::Running);
    first.kill();
    second.kill();
    QVERIFY(first.waitForFinished(5000) && second.waitForFinished(5000));
    QCOMPARE(readAll(file()), oldBytes);
}

// clang-format off
void tst_Mounts::windowsAttributesStay_data()
{
    QTest::addColumn<QString>("attributes"); // ntfs-3g's system.ntfs_attrib_be
    QTest::addColumn<int>("code");
    QTest::newRow("ntfs-hidden-system") << "0x00000026" << 0;
    // Read-only the Windows way: refused, as Windows refuses it
    QTest::newRow("ntfs-read-only")     << "0x00000021" << codeOf(storage::SaveError {Kind::ReadOnly, 0, true});
}
// clang-format on

void tst_Mounts::windowsAttributesStay()
{
    QFETCH(QString, attributes);
    QFETCH(int, code);
    QVERIFY(writeAll(file(), oldBytes));
    const QByteArray name = QFile::encodeName(file());
    if (!shell("setfattr -h -n system.ntfs_attrib_be -v " + attributes + " '" + file() + "'"))
        QSKIP("setfattr is missing");
    QCOMPARE(saveAs(0, file(), " 30 \r\n 1 \r\n 1 \r\n"), code);
    QByteArray value(4, '\0');
    QCOMPARE(::lgetxattr(name.constData(), "system.ntfs_attrib_be", value.data(), 4), 4);
    QCOMPARE("0x" + value.toHex(), attributes.toLatin1());
    QCOMPARE(namesIn(folder()), QStringList {"Ratinor.ini"});
}

void tst_Mounts::startSeesTheFileWhileItIsReplaced_data()
{
    addMountRows({"local", "sshfs", "smb"});
}

void tst_Mounts::startSeesTheFileWhileItIsReplaced()
{
    // Another club member's program saves the same entries over and over; a program that
    // starts meanwhile must find them every time, never the defaults.
    QVERIFY(writeAll(file(), oldBytes));
    QProcess saving;
    saving.start(SAFEFILE_DRIVER, {file(), QString::fromLatin1(oldBytes), "loop"});
    QVERIFY(saving.waitForReadyRead(5000));
    int missed = 0;
    for (int i = 0; i < 200; ++i) {
        const auto entries = storage::exists(pathOf(file())) ? storage::load(pathOf(file()))
                                                             : storage::StoredEntries {};
        missed += entries.k != 25 || entries.own != 1700 || entries.opponent != 1650;
    }
    QCOMPARE(saving.state(), QProcess::Running);
    saving.kill();
    QVERIFY(saving.waitForFinished(5000));
    QCOMPARE(missed, 0);
}

void tst_Mounts::lostConnectionIsNamed()
{
    // A share whose driver has gone answers ENOTCONN: a lost connection, not a permission.
    const QString image = m_root.filePath("lost.img");
    const QString lost = m_root.filePath("lost");
    QVERIFY(QDir().mkpath(lost));
    QProcess driver;
    if (m_mounts.contains("fat")
        && shell("truncate -s 40M '" + image + "' && mkfs.vfat -F 32 '" + image + "' >/dev/null"))
        driver.start("fusefat", {"-f", "-o", "rw+", image, lost});
    if (!driver.waitForStarted(5000)
        || !shell("for i in $(seq 50); do mountpoint -q '" + lost
                  + "' && exit; sleep 0.1; done; exit 1"))
        QSKIP("fusefat could not be mounted here");
    driver.kill();
    QVERIFY(driver.waitForFinished(5000));
    const int code = saveAs(0, lost + "/Ratinor.ini", oldBytes);
    shell("umount -l '" + lost + "'");
    QCOMPARE(code, codeOf(storage::SaveError {Kind::ConnectionLost, ENOTCONN, false}));
}

QTEST_GUILESS_MAIN(tst_Mounts)
#include "tst_mounts.moc"
