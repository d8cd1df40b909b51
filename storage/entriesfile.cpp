// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/entriesfile.h"

#include "calc/conversion.h"

#include <system_error>

#ifdef _WIN32
#include <QFile>
#include <QSaveFile>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace storage {
namespace {

// Three numbers take 22 bytes; a file much longer than that is not one of ours.
constexpr std::size_t maxBytes = 4096;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isSpace(char c)
{
    return isBlank(c) || c == '\r' || c == '\n';
}

bool endsNumber(char c)
{
    return isSpace(c) || c == ',';
}

void appendLine(std::string &bytes, std::int16_t value)
{
    // A negative number's "-" stands in the sign position that a blank holds otherwise.
    if (value >= 0)
        bytes += ' ';
    bytes += calc::entryText(value);
    bytes += " \r\n";
}

} // namespace

bool exists(const std::filesystem::path &file)
{
    std::error_code error;
    const auto status = std::filesystem::symlink_status(file, error);
    return !error && std::filesystem::exists(status);
}

StoredEntries parse(std::string_view bytes, bool complete)
{
    // Some editors put a byte-order mark in front of UTF-8 text.
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(byteOrderMark))
        bytes.remove_prefix(byteOrderMark.size());
    std::size_t i = 0;
    const auto next = [&]() -> std::optional<std::int16_t> {
        while (i < bytes.size() && isSpace(bytes[i]))
            ++i;
        const std::size_t start = i;
        while (i < bytes.size() && !endsNumber(bytes[i]))
            ++i;
        const std::string_view field = bytes.substr(start, i - start);
        const bool mayBeCut = !complete && i == bytes.size();
        while (i < bytes.size() && isBlank(bytes[i]))
            ++i;
        if (i < bytes.size() && bytes[i] == ',')
            ++i;
        if (mayBeCut || field.empty() || calc::numericPrefixLength(field) != field.size())
            return std::nullopt;
        return calc::entryValue(field);
    };
    StoredEntries entries;
    entries.k = next();
    entries.own = next();
    entries.opponent = next();
    return entries;
}

std::string format(std::int16_t k, std::int16_t own, std::int16_t opponent)
{
    std::string bytes;
    appendLine(bytes, k);
    appendLine(bytes, own);
    appendLine(bytes, opponent);
    return bytes;
}

#ifndef _WIN32

namespace {

using Kind = SaveError::Kind;

// Closes a descriptor on every path out.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) { }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    // Closes now, so that a failure of the close itself is seen (NFS reports late).
    bool close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

// Removes the new file beside the old one on every path that does not rename it.
class TemporaryName
{
public:
    explicit TemporaryName(std::filesystem::path path) : m_path(std::move(path)) { }
    ~TemporaryName()
    {
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    TemporaryName(const TemporaryName &) = delete;
    TemporaryName &operator=(const TemporaryName &) = delete;
    void release() { m_path.clear(); }

private:
    std::filesystem::path m_path;
};

SaveError failure(Kind kind, int error, bool oldKept = true)
{
    return SaveError {kind, error, oldKept};
}

// A failed write or sync: a full disk, a quota or a file-size limit, or anything else.
SaveError writeFailure(int error, bool oldKept = true)
{
    const bool full = error == ENOSPC || error == EDQUOT || error == EFBIG;
    return failure(full ? Kind::DiskFull : Kind::CannotWrite, error, oldKept);
}

bool writeAllAt(int fd, std::string_view bytes, off_t offset)
{
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

std::filesystem::path folderOf(const std::filesystem::path &file)
{
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

bool folderIsGone(const std::filesystem::path &folder)
{
    // A deleted working folder still stats, with no links left.
    struct stat status
    {
    };
    if (::stat(folder.c_str(), &status) != 0)
        return errno == ENOENT;
    return S_ISDIR(status.st_mode) && status.st_nlink == 0;
}

// The kernel's protected_symlinks rule, kept here for systems where it is off: in a
// sticky, world-writable folder a link is followed only when it belongs to the follower
// or to the folder's owner.
bool mayFollow(const std::filesystem::path &link, const struct stat &linkStatus)
{
    struct stat folder
    {
    };
    if (::stat(folderOf(link).c_str(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return !shared || linkStatus.st_uid == ::geteuid() || linkStatus.st_uid == folder.st_uid;
}

// Follows the links from file to what they point at, as opening it would.
std::optional<SaveError> followLinks(std::filesystem::path &file)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status
        {
        };
        if (::lstat(file.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return std::nullopt; // what is there, or nothing, is looked at by the caller
        if (!mayFollow(file, status))
            return failure(Kind::UntrustedLink, EACCES);
        std::string target(4096, '\0');
        const ssize_t length = ::readlink(file.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) == target.size())
            return failure(Kind::CannotWrite, length < 0 ? errno : ENAMETOOLONG);
        target.resize(static_cast<std::size_t>(length));
        file = folderOf(file) / target; // an absolute target replaces the folder
    }
    return failure(Kind::CannotWrite, ELOOP);
}

// Writes the file where it is: no new name is needed in its folder. The bytes it held
// where the new ones go are read first and written back if the write fails.
std::optional<SaveError> writeInPlace(const std::filesystem::path &file, std::string_view bytes,
                                      const struct stat &old)
{
    Descriptor fd(::open(file.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0)
        return failure(errno == EACCES || errno == EPERM || errno == EROFS ? Kind::ReadOnly
                                                                           : Kind::CannotWrite,
                       errno);
    struct stat opened
    {
    };
    if (::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_dev != old.st_dev
        || opened.st_ino != old.st_ino)
        return failure(Kind::NotRegularFile, 0); // something else took its place meanwhile

    std::string before(bytes.size(), '\0');
    ssize_t kept = 0;
    do
        kept = ::pread(fd.get(), before.data(), before.size(), 0);
    while (kept < 0 && errno == EINTR);
    if (kept < 0)
        return failure(Kind::CannotWrite, errno);
    before.resize(static_cast<std::size_t>(kept));

    const auto newSize = static_cast<off_t>(bytes.size());
    if (writeAllAt(fd.get(), bytes, 0)
        && (opened.st_size <= newSize || ::ftruncate(fd.get(), newSize) == 0)
        && ::fsync(fd.get()) == 0 && fd.close())
        return std::nullopt;

    const int error = errno;
    if (fd.get() < 0)
        return writeFailure(error, false); // the close failed: nothing more can be done
    const bool restored = writeAllAt(fd.get(), before, 0)
        && ::ftruncate(fd.get(), opened.st_size) == 0 && ::fsync(fd.get()) == 0;
    return writeFailure(error, restored);
}

// Rename refusals that writing in place gets around: the file is mounted on its own
// (EBUSY), lies on another file system than its folder (EXDEV), or the folder forbids
// replacing it (EACCES, EPERM).
bool renameCanBeAvoided(int error)
{
    return error == EBUSY || error == EXDEV || error == EACCES || error == EPERM;
}

} // namespace

StoredEntries load(const std::filesystem::path &file)
{
    // Non-blocking and checked after opening: a FIFO that takes the file's place between a
    // check and the open cannot hold up the start.
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat status
    {
    };
    if (fd.get() < 0 || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    // One byte past the limit tells whether a number at the limit ends there.
    std::string bytes(maxBytes + 1, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {};
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return parse(bytes, got <= maxBytes);
}

std::optional<SaveError> save(const std::filesystem::path &file, std::int16_t k, std::int16_t own,
                              std::int16_t opponent)
{
    const std::string bytes = format(k, own, opponent);
    std::filesystem::path target = file;
    if (auto refused = followLinks(target))
        return refused;
    const std::filesystem::path folder = folderOf(target);
    if (folderIsGone(folder))
        return failure(Kind::FolderGone, ENOENT);

    struct stat old
    {
    };
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (!existed && errno != ENOENT)
        return failure(Kind::CannotCreate, errno);
    if (existed) {
        if (S_ISDIR(old.st_mode))
            return failure(Kind::Directory, EISDIR);
        if (!S_ISREG(old.st_mode))
            return failure(Kind::NotRegularFile, 0);
        // Not even root overwrites a file that its owner has made read-only.
        if (!(old.st_mode & S_IWUSR))
            return failure(Kind::ReadOnly, EACCES);
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return failure(Kind::ReadOnly, errno);
    }

    // The new file beside the old one, under a hidden name of its own.
    static unsigned counter = 0;
    std::filesystem::path temporary;
    int created = -1;
    for (int attempt = 0; attempt < 100 && created < 0; ++attempt) {
        temporary = folder
            / ("." + target.filename().native() + "." + std::to_string(::getpid()) + "."
               + std::to_string(++counter));
        created = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                         0666);
        if (created < 0 && errno != EEXIST)
            break;
    }
    if (created < 0) {
        const int error = errno;
        if (existed)
            return writeInPlace(target, bytes, old);
        return error == ENOSPC || error == EDQUOT ? writeFailure(error)
                                                  : failure(Kind::CannotCreate, error);
    }
    Descriptor fd(created);
    TemporaryName removeOnFailure(temporary);

    if (existed) {
        // Owner first: changing it clears set-id bits that the mode then restores.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
            // Failing that, the group alone; without the right to either, the new file is
            // the user's own.
            if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0
                && ::fchown(fd.get(), static_cast<uid_t>(-1), old.st_gid) != 0) { }
        }
        if (::fchmod(fd.get(), old.st_mode & 07777) != 0)
            return failure(Kind::CannotWrite, errno);
    }
    if (!writeAllAt(fd.get(), bytes, 0) || ::fsync(fd.get()) != 0 || !fd.close())
        return writeFailure(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        if (existed && renameCanBeAvoided(error))
            return writeInPlace(target, bytes, old);
        return failure(existed ? Kind::CannotWrite : Kind::CannotCreate, error);
    }
    removeOnFailure.release();
    // The rename itself reaches the disk with the folder; the file is in place already, so
    // a folder that cannot be synced (some file systems refuse) is no failure.
    Descriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.get() >= 0)
        (void)::fsync(folderFd.get());
    return std::nullopt;
}

#else

StoredEntries load(const std::filesystem::path &file)
{
    QFile in(QString::fromStdWString(file.wstring()));
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = in.read(maxBytes + 1);
    const auto size = static_cast<std::size_t>(bytes.size());
    return parse(std::string_view(bytes.constData(), size), size <= maxBytes);
}

std::optional<SaveError> save(const std::filesystem::path &file, std::int16_t k, std::int16_t own,
                              std::int16_t opponent)
{
    std::error_code error;
    if (std::filesystem::is_directory(file, error))
        return SaveError {SaveError::Kind::Directory, 0, true};
    QSaveFile out(QString::fromStdWString(file.wstring()));
    if (!out.open(QIODevice::WriteOnly))
        return SaveError {SaveError::Kind::CannotCreate, 0, true};
    const std::string bytes = format(k, own, opponent);
    // commit() renames even after a failed buffered write: flush and check first.
    if (out.write(bytes.data(), static_cast<qint64>(bytes.size()))
            != static_cast<qint64>(bytes.size())
        || !out.flush()) {
        out.cancelWriting();
        return SaveError {SaveError::Kind::CannotWrite, 0, true};
    }
    if (!out.commit())
        return SaveError {SaveError::Kind::CannotWrite, 0, true};
    return std::nullopt;
}

#endif

} // namespace storage
