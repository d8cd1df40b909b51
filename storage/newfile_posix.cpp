// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/newfile_posix.h"

#include "storage/leftovers_posix.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <vector>

#include <fcntl.h>
#include <linux/magic.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace storage::posix {
namespace {

constexpr long fuseMagic = 0x65735546;
// ntfs-3g's Windows attributes, 32 bits, big-endian; read-only is the lowest bit, as on FAT.
constexpr const char *ntfsAttributes = "system.ntfs_attrib_be";
constexpr std::uint32_t windowsReadOnlyBit = 0x01;

// Whether extended attributes are worth asking for on the file system: every kernel one,
// and a FUSE driver of a local disk or image (ntfs-3g, exFAT). A network share through
// FUSE keeps none that a save could carry over, and smbnetfs, when asked, stalls for
// seconds and then fails every call for as long again.
bool asksAttributes(int fd)
{
    struct statfs system = {};
    struct stat status = {};
    if (::fstatfs(fd, &system) != 0 || ::fstat(fd, &status) != 0)
        return false;
    if (system.f_type != fuseMagic)
        return true;
    // "ID PARENT MAJOR:MINOR ROOT MOUNTPOINT OPTIONS... - TYPE SOURCE OPTIONS"
    std::ifstream mounts("/proc/self/mountinfo");
    const std::string device = std::to_string(major(status.st_dev)) + ":"
        + std::to_string(minor(status.st_dev));
    for (std::string line; std::getline(mounts, line);) {
        std::istringstream fields(line);
        std::string id;
        std::string parent;
        std::string numbers;
        fields >> id >> parent >> numbers;
        if (numbers != device)
            continue;
        const std::size_t dash = line.find(" - ");
        std::istringstream tail(dash == std::string::npos ? "" : line.substr(dash + 3));
        std::string type;
        std::string source;
        tail >> type >> source;
        return source.starts_with('/');
    }
    return false;
}

// The Windows attributes of the open file as the file system keeps them: ntfs-3g's
// attribute, or the kernel FAT driver's. Empty where it keeps none; asks tells whether
// extended attributes may be asked for there.
std::optional<std::uint32_t> windowsAttributes(int fd, bool asks)
{
    struct statfs system = {};
    if (::fstatfs(fd, &system) != 0)
        return std::nullopt;
    if (system.f_type == MSDOS_SUPER_MAGIC) {
        std::uint32_t attributes = 0;
        if (::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &attributes) == 0)
            return attributes;
        return std::nullopt;
    }
    std::array<unsigned char, 4> value = {};
    if (!asks || ::fgetxattr(fd, ntfsAttributes, value.data(), value.size()) != 4)
        return std::nullopt;
    return std::uint32_t {value[0]} << 24 | std::uint32_t {value[1]} << 16
        | std::uint32_t {value[2]} << 8 | value[3];
}

// The old file's Windows attributes, through a descriptor that only reads.
std::optional<std::uint32_t> windowsAttributesOf(const std::filesystem::path &file,
                                                 const struct stat &status)
{
    Descriptor reader(openSame(AT_FDCWD, file.c_str(), O_RDONLY, status));
    return reader.get() < 0 ? std::nullopt
                            : windowsAttributes(reader.get(), asksAttributes(reader.get()));
}

bool setWindowsAttributes(int fd, std::uint32_t attributes)
{
    struct statfs system = {};
    if (::fstatfs(fd, &system) != 0)
        return false;
    if (system.f_type == MSDOS_SUPER_MAGIC)
        return ::ioctl(fd, FAT_IOCTL_SET_ATTRIBUTES, &attributes) == 0;
    const std::array<unsigned char, 4> value = {
        static_cast<unsigned char>(attributes >> 24), static_cast<unsigned char>(attributes >> 16),
        static_cast<unsigned char>(attributes >> 8), static_cast<unsigned char>(attributes)};
    return ::fsetxattr(fd, ntfsAttributes, value.data(), value.size(), 0) == 0;
}

// Every extended attribute the old file lists, the ACL (system.posix_acl_access) among them.
bool copyAttributes(int fd, const std::filesystem::path &old)
{
    const ssize_t listSize = ::llistxattr(old.c_str(), nullptr, 0);
    if (listSize < 0)
        return errno == ENOTSUP || errno == ENOSYS;
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
    return true;
}

} // namespace

NewFile::NewFile(int folder, const std::string &name) : m_folder(folder)
{
    m_fd.reset(::openat(folder, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (m_fd.get() >= 0)
        return;
    // No unnamed files here (an older kernel, NFS, FUSE, SMB): a name that says whose it is.
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_name = nextTemporaryName(name);
        m_fd.reset(::openat(folder, m_name.c_str(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (m_fd.get() >= 0 || errno != EEXIST)
            break;
    }
    if (m_fd.get() < 0)
        m_name.clear();
}

NewFile::~NewFile()
{
    m_fd.reset(-1); // SMB and Windows refuse to delete a file that is still open
    if (!m_name.empty())
        ::unlinkat(m_folder, m_name.c_str(), 0);
}

int NewFile::fill(const std::string &name, std::string_view bytes)
{
    if (!writeAllAt(m_fd.get(), bytes, 0) || ::fsync(m_fd.get()) != 0)
        return errno;
    if (m_name.empty()) {
        const std::string unnamed = "/proc/self/fd/" + std::to_string(m_fd.get());
        for (int attempt = 0; attempt < 100 && m_name.empty(); ++attempt) {
            std::string candidate = nextTemporaryName(name);
            if (::linkat(AT_FDCWD, unnamed.c_str(), m_folder, candidate.c_str(), AT_SYMLINK_FOLLOW)
                == 0)
                m_name = std::move(candidate);
            else if (errno != EEXIST)
                return errno;
        }
        if (m_name.empty())
            return EEXIST;
    }
    if (!m_fd.close())
        return errno;
    return readFresh(m_folder, m_name.c_str(), bytes.size() + 1) == bytes ? 0 : EIO;
}

int NewFile::moveTo(const std::string &name)
{
    if (::renameat(m_folder, m_name.c_str(), m_folder, name.c_str()) != 0)
        return errno;
    m_name.clear();
    return 0;
}

bool carryOver(int fd, const std::filesystem::path &old, const struct stat &oldStatus)
{
    struct stat status = {};
    if (::fstat(fd, &status) != 0)
        return false;
    // Each is changed only where it differs: a file system that keeps no owners shows the
    // old file's on the new one already, and may refuse the call (ENOSYS, EPERM).
    // Owner first: changing it clears set-id bits that the mode then restores.
    if (status.st_uid != oldStatus.st_uid || status.st_gid != oldStatus.st_gid) {
        [[maybe_unused]] const int changed = ::fchown(fd, oldStatus.st_uid, oldStatus.st_gid);
    }
    const mode_t mode = oldStatus.st_mode & 07777;
    // A file system that cannot be made to show a chosen mode derives it from something
    // else (mount options, the DOS attributes on SMB): there the mode is what any new file
    // shows, and no reason to write in place. Set-id bits still have to carry over.
    const bool holdsModes = ::fchmod(fd, mode) == 0 && ::fstat(fd, &status) == 0
        && (status.st_mode & 0777) == (mode & 0777);
    const bool asks = asksAttributes(fd);
    if (asks && !copyAttributes(fd, old))
        return false;
    // Read-only, hidden, system and archive, as Windows shows them.
    if (const auto attributes = windowsAttributesOf(old, oldStatus); attributes
        && windowsAttributes(fd, asks) != attributes && !setWindowsAttributes(fd, *attributes))
        return false;
    // The kernel may drop what it will not grant (a set-group-id bit outside the group).
    const mode_t shown = holdsModes ? 07777 : 07000;
    return ::fstat(fd, &status) == 0 && (status.st_mode & shown) == (oldStatus.st_mode & shown)
        && status.st_uid == oldStatus.st_uid && status.st_gid == oldStatus.st_gid;
}

bool windowsReadOnly(const std::filesystem::path &file, const struct stat &status)
{
    const auto attributes = windowsAttributesOf(file, status);
    return attributes && (*attributes & windowsReadOnlyBit) != 0;
}

} // namespace storage::posix
