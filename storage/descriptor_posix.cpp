// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/descriptor_posix.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace storage::posix {

void Descriptor::reset(int fd)
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

bool Descriptor::close()
{
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0;
}

int Descriptor::release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

SignalsHeld::SignalsHeld()
{
    s_noted = 0;
    struct sigaction noting = {};
    noting.sa_handler = note;
    noting.sa_flags = SA_RESTART;
    sigemptyset(&noting.sa_mask);
    for (std::size_t i = 0; i < held.size(); ++i)
        ::sigaction(held[i], &noting, &m_previous[i]);
}

SignalsHeld::~SignalsHeld()
{
    for (std::size_t i = 0; i < held.size(); ++i)
        ::sigaction(held[i], &m_previous[i], nullptr);
    if (s_noted != 0)
        ::raise(s_noted);
}

void SignalsHeld::note(int signal)
{
    s_noted = signal;
}

SaveError failure(SaveError::Kind kind, int error, bool oldKept)
{
    using Kind = SaveError::Kind;
    switch (error) {
    case ENOTCONN:
    case ESTALE:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ECONNABORTED:
    case ECONNRESET:
    case ETIMEDOUT:
    case ENETDOWN:
    case ENETUNREACH:
        kind = Kind::ConnectionLost;
        break;
    case EIO:
        kind = Kind::DriveFault;
        break;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        kind = Kind::DiskFull;
        break;
    default:
        break;
    }
    return SaveError {kind, error, oldKept};
}

} // namespace storage::posix

namespace storage {

SystemReason reasonOf(int error)
{
    using Reason = SystemReason;
    switch (error) {
    case ENOSPC:
        return Reason::NoSpace;
    case EDQUOT:
        return Reason::Quota;
    case EFBIG:
        return Reason::FileTooLarge;
    case EACCES:
        return Reason::AccessDenied;
    case EPERM:
        return Reason::NotPermitted;
    case EROFS:
        return Reason::ReadOnlyFileSystem;
    case EIO:
        return Reason::InputOutput;
    case ENOENT:
        return Reason::NotFound;
    case ENOTDIR:
        return Reason::NotAFolder;
    case EISDIR:
        return Reason::IsAFolder;
    case ELOOP:
        return Reason::TooManyLinks;
    case ENAMETOOLONG:
        return Reason::NameTooLong;
    case EBUSY:
        return Reason::Busy;
    case ETXTBSY:
        return Reason::InUse;
    case ENOMEM:
        return Reason::OutOfMemory;
    case EMFILE:
    case ENFILE:
        return Reason::TooManyOpenFiles;
    case ESTALE:
        return Reason::StaleHandle;
    case ENOTCONN:
        return Reason::NotConnected;
    case EHOSTDOWN:
        return Reason::HostDown;
    case EHOSTUNREACH:
        return Reason::HostUnreachable;
    case ECONNABORTED:
        return Reason::ConnectionAborted;
    case ECONNRESET:
        return Reason::ConnectionReset;
    case ETIMEDOUT:
        return Reason::TimedOut;
    case ENETDOWN:
    case ENETUNREACH:
        return Reason::NetworkDown;
    default:
        return Reason::None;
    }
}

} // namespace storage

namespace storage::posix {

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

std::optional<std::string> readFresh(int folder, const char *name, std::size_t limit)
{
    Descriptor fd(
        ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0)
        return std::nullopt;
    return readAt(fd.get(), limit);
}

int openSame(int folder, const char *name, int flags, const struct stat &expected)
{
    Descriptor fd(::openat(folder, name, flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat opened = {};
    if (fd.get() < 0 || ::fstat(fd.get(), &opened) != 0)
        return -1;
    if (!S_ISREG(opened.st_mode) || opened.st_dev != expected.st_dev
        || opened.st_ino != expected.st_ino)
        return otherFileInPlace;
    return fd.release();
}

int overwrite(const char *path, std::string_view bytes, off_t length, const struct stat &expected)
{
    const int opened = openSame(AT_FDCWD, path, O_WRONLY, expected);
    if (opened < 0)
        return opened == otherFileInPlace ? otherFileInPlace : errno;
    Descriptor fd(opened);
    // The bytes reach the disk before the cut, so that a crash never leaves less than them.
    struct stat written = {};
    if (!writeAllAt(fd.get(), bytes, 0) || ::fsync(fd.get()) != 0
        || ::fstat(fd.get(), &written) != 0)
        return errno;
    if (!fd.close())
        return errno;
    if (written.st_size == length)
        return 0;
    // Cut by name, with no handle open: smbnetfs stalls, then fails, a cut through an
    // open handle. Then synced through a handle of its own.
    struct stat now = {};
    if (::lstat(path, &now) != 0)
        return errno;
    if (now.st_dev != expected.st_dev || now.st_ino != expected.st_ino)
        return otherFileInPlace;
    if (::truncate(path, length) != 0)
        return errno;
    const int again = openSame(AT_FDCWD, path, O_WRONLY, expected);
    if (again < 0)
        return again == otherFileInPlace ? otherFileInPlace : errno;
    fd.reset(again);
    if (::fsync(fd.get()) != 0)
        return errno;
    return fd.close() ? 0 : errno;
}

std::filesystem::path folderOf(const std::filesystem::path &file)
{
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

} // namespace storage::posix
