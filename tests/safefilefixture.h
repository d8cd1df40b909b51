// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the careful read and replace's tests share: a fresh folder with the entries file in
// its old bytes, shell lines run in it, the driver under strace, and a snapshot of all a
// folder holds. POSIX only.
#include "storage/safefile.h"
#include "tests/savecode.h"
#include "tests/testfiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>

#include <sys/stat.h>
#include <sys/xattr.h>

using Kind = storage::SaveError::Kind;
Q_DECLARE_METATYPE(Kind)

namespace safefiletest {

inline const QByteArray oldBytes(" 40 \r\n 2150 \r\n 2050 \r\n");
inline const QByteArray newBytes(" 30 \r\n 150 \r\n 2 \r\n"); // shorter: a box emptied, digits lost

using testfiles::pathOf;
using testfiles::readAll;
using testfiles::writeAll;

// A user and a group made for these tests only, and a second member of that group.
constexpr uid_t alice = 61001;
constexpr uid_t bob = 61002;
constexpr gid_t club = 61000;

using ::codeOf;

inline int codeOf(Kind kind, bool oldKept)
{
    return codeOf(storage::SaveError {kind, 0, oldKept});
}

// What a replace must keep of a name: kind, mode, owner, group, links and every extended
// attribute (the ACL among them), without the content.
inline QString describe(const QString &name)
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
inline QStringList snapshot(const QString &folder)
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

inline int saveAs(uid_t user, const QString &name, const QByteArray &bytes)
{
    return ::saveAs(user, club, pathOf(name), bytes.toStdString());
}

} // namespace safefiletest

// A fresh folder for each test, with the entries file in its old bytes.
struct SafeFileFixture
{
    std::unique_ptr<QTemporaryDir> dir;

    QString file() const { return dir->filePath("Ratinor.ini"); }

    // For init().
    void start()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        QVERIFY(testfiles::writeAll(file(), safefiletest::oldBytes));
    }
    // For cleanup(): undoes what a row made that would stop the folder's removal.
    void stop()
    {
        shell(QStringLiteral("chattr -a \"$D\" 2>/dev/null; grep -o \" $D[^ ]*\" /proc/self/mounts "
                             "| sort -r | xargs -r -n1 umount -l; true"));
        QDir::setCurrent(QDir::tempPath());
        dir.reset();
    }
    // Runs a shell line with D the test's folder and F the file; false where it fails.
    bool shell(const QString &line) const
    {
        QProcess sh;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("D", dir->path());
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
    // The save fails so, and nothing changed, nothing is left behind.
    void expectFailure(const std::function<int()> &save, Kind kind, bool oldKept) const
    {
        const QStringList before = safefiletest::snapshot(dir->path());
        QCOMPARE(save(), safefiletest::codeOf(kind, oldKept));
        QCOMPARE(safefiletest::snapshot(dir->path()),
                 before); // nothing changed, nothing left behind
    }
    // Starts the driver under strace with the given fault; false where strace cannot trace.
    bool startTraced(QProcess &driver, const QString &fault, const QByteArray &bytes) const
    {
        // LeakSanitizer cannot run under a tracer and would fail the sanitizer build's driver.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":detect_leaks=0");
        driver.setProcessEnvironment(environment);
        driver.start("strace",
                     {"-f", "-qq", "-o", "/dev/null", "-e", "trace=fsync", "-e", fault,
                      SAFEFILE_DRIVER, file(), QString::fromLatin1(bytes)});
        return driver.waitForReadyRead(10000);
    }
};
