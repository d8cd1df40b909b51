// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/safefile.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <system_error>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace storage {
namespace {

using Kind = SaveError::Kind;

// What an in-place write keeps of the old content to put it back; the entries file is
// 22 bytes, so a file beyond this is not one of ours and no promise is made about it.
constexpr std::size_t maxKeptBytes = std::size_t {64} * 1024;

// Closes a descriptor on every path out.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) { }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
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

// While one lives, SIGHUP, SIGINT and SIGTERM (a logout, Ctrl+C, a shutdown) are noted
// instead of ending the process; the last one noted is raised when it ends, with the
// process's own handling back in place. A signal handler rather than a signal mask, since
// the mask would hold only this thread and the signal would end the process through another.
class SignalsHeld
{
public:
    SignalsHeld()
    {
        s_noted = 0;
        struct sigaction noting = {};
        noting.sa_handler = note;
        noting.sa_flags = SA_RESTART;
        sigemptyset(&noting.sa_mask);
        for (std::size_t i = 0; i < held.size(); ++i)
            ::sigaction(held[i], &noting, &m_previous[i]);
    }
    ~SignalsHeld()
    {
        for (std::size_t i = 0; i < held.size(); ++i)
            ::sigaction(held[i], &m_previous[i], nullptr);
        if (s_noted != 0)
            ::raise(s_noted);
    }
    SignalsHeld(const SignalsHeld &) = delete;
    SignalsHeld &operator=(const SignalsHeld &) = delete;

private:
    static void note(int signal) { s_noted = signal; }
    static constexpr std::array<int, 3> held = {SIGHUP, SIGINT, SIGTERM};
    static inline volatile std::sig_atomic_t s_noted = 0;
    std::array<struct sigaction, held.size()> m_previous = {};
};

SaveError failure(Kind kind, int error, bool oldKept = false)
{
    return SaveError {kind, error, oldKept};
}

// A failed write or sync: a full disk, a quota or a file-size limit, or anything else.
SaveError writeFailure(int error, bool oldKept)
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

// Up to limit bytes from the start; empty on a read failure.
std::optional<std::string> readAt(int fd, std::size_t limit)
{
    std::string bytes(limit, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::pread(fd, bytes.data() + got, bytes.size() - got,
                                  static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

std::filesystem::path folderOf(const std::filesystem::path &file)
{
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

bool folderIsGone(const std::filesystem::path &folder)
{
    // A deleted working folder still stats, with no links left.
    struct stat status = {};
    if (::stat(folder.c_str(), &status) != 0)
        return errno == ENOENT;
    return S_ISDIR(status.st_mode) && status.st_nlink == 0;
}

// In a folder that others may write (a group's folder, sticky or not, or one such as
// /tmp), a link is followed only when it belongs to the user, to root or to the folder's
// owner: anyone else could have planted it to make the user overwrite another file.
bool mayFollow(const std::filesystem::path &link, const struct stat &linkStatus)
{
    struct stat folder = {};
    if (::stat(folderOf(link).c_str(), &folder) != 0)
        return false;
    const bool othersMayWrite = (folder.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    return !othersMayWrite || linkStatus.st_uid == ::geteuid() || linkStatus.st_uid == 0
        || linkStatus.st_uid == folder.st_uid;
}

// Follows the links from file to what they point at, as opening it would.
std::optional<SaveError> followLinks(std::filesystem::path &file)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status = {};
        if (::lstat(file.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return std::nullopt; // what is there, or nothing, is looked at by the caller
        if (!mayFollow(file, status))
            return failure(Kind::UntrustedLink, 0);
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(file, error);
        if (error)
            return failure(Kind::CannotWrite, error.value());
        file = folderOf(file) / target; // an absolute target replaces the folder
    }
    return failure(Kind::LinkLoop, 0);
}

// The temporary names of this program beside a file: ".NAME.PID.COUNT".
bool isTemporaryName(std::string_view entry, std::string_view name)
{
    if (entry.size() <= name.size() + 2 || entry[0] != '.' || entry.substr(1, name.size()) != name
        || entry[name.size() + 1] != '.')
        return false;
    entry.remove_prefix(name.size() + 2);
    const std::size_t dot = entry.find('.');
    const auto allDigits = [](std::string_view digits) {
        return !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
    };
    return dot != std::string_view::npos && allDigits(entry.substr(0, dot))
        && allDigits(entry.substr(dot + 1));
}

// The next temporary name beside a file, in the form isTemporaryName() knows.
std::string nextTemporaryName(const std::string &name)
{
    static unsigned counter = 0;
    return "." + name + "." + std::to_string(::getpid()) + "." + std::to_string(++counter);
}

// Removes the user's temporary files beside the file that no live save holds: every save
// holds a lock on its new file until the file is renamed, so one whose lock can be taken
// was left by a save that was killed.
void removeStaleTemporaries(int folder, const std::string &name)
{
    const int listFd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return;
    DIR *listing = ::fdopendir(listFd);
    if (!listing) {
        ::close(listFd);
        return;
    }
    while (const dirent *entry = ::readdir(listing)) {
        // Only the user's own regular files are opened at all: opening a planted device or
        // FIFO could have effects of its own.
        struct stat named = {};
        if (!isTemporaryName(entry->d_name, name)
            || ::fstatat(folder, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0
            || !S_ISREG(named.st_mode) || named.st_uid != ::geteuid())
            continue;
        Descriptor fd(::openat(folder, entry->d_name,
                               O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        struct stat opened = {};
        if (fd.get() < 0 || ::fstat(fd.get(), &opened) != 0 || opened.st_dev != named.st_dev
            || opened.st_ino != named.st_ino || ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
            continue;
        // Still the file that was locked, not one that took the name meanwhile.
        if (::fstatat(folder, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0
            && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino)
            ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(listing);
}

// Whether names in the folder can be neither removed nor replaced (chattr +a or +i): a
// new file could never be renamed over the old one or removed again.
bool folderKeepsItsNames(int folder)
{
    int flags = 0;
    return ::ioctl(folder, FS_IOC_GETFLAGS, &flags) == 0
        && (flags & (FS_APPEND_FL | FS_IMMUTABLE_FL)) != 0;
}

// The new file, locked, readable by the user alone, and without a name where the file
// system allows: a process killed before the rename then leaves nothing behind.
class NewFile
{
public:
    NewFile(int folder, const std::string &name) : m_folder(folder)
    {
        m_fd.reset(::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
        if (m_fd.get() >= 0 && ::flock(m_fd.get(), LOCK_EX) == 0)
            return;
        m_fd.reset(-1);
        // No unnamed files here (an older kernel, NFS, a FUSE file system): a hidden name.
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_name = nextTemporaryName(name);
            m_fd.reset(::openat(folder, m_name.c_str(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
            if (m_fd.get() >= 0 || errno != EEXIST)
                break;
        }
        if (m_fd.get() < 0) {
            m_name.clear();
            return;
        }
        (void)::flock(m_fd.get(), LOCK_EX);
    }
    ~NewFile()
    {
        if (!m_name.empty())
            ::unlinkat(m_folder, m_name.c_str(), 0);
    }
    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;

    int fd() const { return m_fd.get(); }

    // Gives the synced file its place under name: a temporary name first where it has
    // none, then the rename. Returns 0 or the errno of the step that failed.
    int moveTo(const std::string &name)
    {
        if (m_name.empty()) {
            const std::string unnamed = "/proc/self/fd/" + std::to_string(m_fd.get());
            for (int attempt = 0; attempt < 100 && m_name.empty(); ++attempt) {
                std::string candidate = nextTemporaryName(name);
                if (::linkat(AT_FDCWD, unnamed.c_str(), m_folder, candidate.c_str(),
                             AT_SYMLINK_FOLLOW)
                    == 0)
                    m_name = std::move(candidate);
                else if (errno != EEXIST)
                    return errno;
            }
            if (m_name.empty())
                return EEXIST;
        }
        if (::renameat(m_folder, m_name.c_str(), m_folder, name.c_str()) != 0)
            return errno;
        m_name.clear();
        return 0;
    }

private:
    int m_folder;
    Descriptor m_fd;
    std::string m_name; // empty while the file has no name of its own
};

// Gives the new file the old one's owner, group, mode and extended attributes (among them
// the ACL, system.posix_acl_access). False where any of them will not carry over.
bool carryOver(int fd, const std::filesystem::path &old, const struct stat &oldStatus)
{
    struct stat status = {};
    if (::fstat(fd, &status) != 0)
        return false;
    // Owner first: changing it clears set-id bits that the mode then restores.
    if ((status.st_uid != oldStatus.st_uid || status.st_gid != oldStatus.st_gid)
        && ::fchown(fd, oldStatus.st_uid, oldStatus.st_gid) != 0)
        return false;
    if (::fchmod(fd, oldStatus.st_mode & 07777) != 0)
        return false;
    const ssize_t listSize = ::llistxattr(old.c_str(), nullptr, 0);
    if (listSize < 0)
        return errno == ENOTSUP;
    std::vector<char> names(static_cast<std::size_t>(listSize) + 1, '\0');
    if (::llistxattr(old.c_str(), names.data(), names.size() - 1) != listSize)
        return false;
    for (std::size_t at = 0; at < static_cast<std::size_t>(listSize);) {
        const char *attribute = names.data() + at;
        at += std::char_traits<char>::length(attribute) + 1;
        const ssize_t valueSize = ::lgetxattr(old.c_str(), attribute, nullptr, 0);
        if (valueSize < 0)
            return false;
        std::vector<char> value(static_cast<std::size_t>(valueSize));
        if (::lgetxattr(old.c_str(), attribute, value.data(), value.size()) != valueSize
            || ::fsetxattr(fd, attribute, value.data(), value.size(), 0) != 0)
            return false;
    }
    // The kernel may drop what it will not grant (a set-group-id bit outside the group).
    return ::fstat(fd, &status) == 0 && status.st_mode == oldStatus.st_mode
        && status.st_uid == oldStatus.st_uid && status.st_gid == oldStatus.st_gid;
}

// Writes the file where it is, so it stays the same file with everything it has. Its old
// content is kept first; the new bytes are written and synced before the length is cut,
// and on any failure every old byte and the old length are put back.
std::optional<SaveError> writeInPlace(const std::filesystem::path &file, std::string_view bytes,
                                      const struct stat &old)
{
    Descriptor fd(::open(file.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        const bool refused = errno == EACCES || errno == EPERM || errno == EROFS
            || errno == ETXTBSY;
        return failure(refused ? Kind::ReadOnly : Kind::CannotWrite, errno, true);
    }
    struct stat opened = {};
    if (::fstat(fd.get(), &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_dev != old.st_dev
        || opened.st_ino != old.st_ino)
        return failure(Kind::NotRegularFile, 0, true); // something else took its place meanwhile

    const auto oldSize = static_cast<std::size_t>(opened.st_size);
    const bool keptWhole = oldSize <= maxKeptBytes;
    const std::optional<std::string> before = readAt(fd.get(), std::min(oldSize, maxKeptBytes));
    if (!before || before->size() < std::min(oldSize, maxKeptBytes))
        return failure(Kind::CannotWrite, before ? EIO : errno, true);

    const auto newSize = static_cast<off_t>(bytes.size());
    if (writeAllAt(fd.get(), bytes, 0) && ::fsync(fd.get()) == 0
        && (opened.st_size <= newSize
            || (::ftruncate(fd.get(), newSize) == 0 && ::fsync(fd.get()) == 0))
        && fd.close())
        return std::nullopt;

    const int error = errno;
    if (fd.get() < 0)
        return writeFailure(error, false); // the close failed: nothing more can be done
    // The bytes that were overwritten lie within what was kept, even beyond the cap.
    const bool putBack = writeAllAt(fd.get(), *before, 0)
        && ::ftruncate(fd.get(), opened.st_size) == 0 && ::fsync(fd.get()) == 0;
    const bool asBefore = putBack && keptWhole && readAt(fd.get(), oldSize + 1) == before;
    return writeFailure(error, asBefore);
}

// Refusals to give the new file its place that writing in place gets around: the file is
// mounted on its own (EBUSY), lies on another file system than its folder (EXDEV), the
// folder forbids replacing it (EACCES, EPERM), or an unnamed file cannot be named without
// /proc (ENOENT).
bool renameCanBeAvoided(int error)
{
    return error == EBUSY || error == EXDEV || error == EACCES || error == EPERM || error == ENOENT;
}

} // namespace

std::optional<std::string> readStart(const std::filesystem::path &file, std::size_t limit)
{
    // Non-blocking and checked after opening: a FIFO that takes the file's place between a
    // check and the open cannot hold up the start.
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat status = {};
    if (fd.get() < 0 || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return readAt(fd.get(), limit);
}

std::optional<SaveError> replaceContent(const std::filesystem::path &file, std::string_view bytes)
{
    const SignalsHeld signalsHeld;
    if (folderIsGone(folderOf(file)))
        return failure(Kind::FolderGone, 0);
    std::filesystem::path target = file;
    if (auto refused = followLinks(target))
        return refused;
    const std::filesystem::path folder = folderOf(target);

    struct stat old = {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (!existed) {
        const int error = errno;
        struct stat folderStatus = {};
        if (target != file && error == ENOENT && ::stat(folder.c_str(), &folderStatus) != 0)
            return failure(Kind::LinkTargetMissing, 0);
        if (error != ENOENT)
            return failure(error == ELOOP ? Kind::LinkLoop : Kind::CannotCreate, error);
    }
    if (existed) {
        if (S_ISDIR(old.st_mode))
            return failure(Kind::Directory, 0);
        if (!S_ISREG(old.st_mode))
            return failure(Kind::NotRegularFile, 0);
        // Not even root overwrites a file that its owner has made read-only.
        if (!(old.st_mode & S_IWUSR))
            return failure(Kind::ReadOnly, 0, true);
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
            return failure(Kind::ReadOnly, errno, true);
    }

    Descriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.get() < 0) {
        if (existed)
            return writeInPlace(target, bytes, old);
        return failure(Kind::CannotCreate, errno);
    }
    const std::string name = target.filename().native();
    removeStaleTemporaries(folderFd.get(), name);
    // Another name for the same file would keep the old content; only this file is that file.
    if (existed && (old.st_nlink > 1 || folderKeepsItsNames(folderFd.get())))
        return writeInPlace(target, bytes, old);

    NewFile newFile(folderFd.get(), name);
    if (newFile.fd() < 0) {
        const int error = errno;
        if (existed)
            return writeInPlace(target, bytes, old);
        return error == ENOSPC || error == EDQUOT ? writeFailure(error, false)
                                                  : failure(Kind::CannotCreate, error);
    }
    if (existed && !carryOver(newFile.fd(), target, old))
        return writeInPlace(target, bytes, old);
    if (!existed) {
        // A new file gets the mode that the user's umask gives any new file.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(newFile.fd(), 0666 & ~mask) != 0)
            return failure(Kind::CannotCreate, errno);
    }
    if (!writeAllAt(newFile.fd(), bytes, 0) || ::fsync(newFile.fd()) != 0)
        return writeFailure(errno, existed);
    if (const int error = newFile.moveTo(name)) {
        if (existed && renameCanBeAvoided(error))
            return writeInPlace(target, bytes, old);
        return failure(existed ? Kind::CannotWrite : Kind::CannotCreate, error, existed);
    }
    // The rename itself reaches the disk with the folder; the file is in place already, so
    // a folder that cannot be synced (some file systems refuse) is no failure.
    (void)::fsync(folderFd.get());
    return std::nullopt;
}

} // namespace storage
