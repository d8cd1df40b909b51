// SPDX-License-Identifier: GPL-3.0-or-later
// Which way a save goes: refused, a new file renamed into place, or written in place.
#include "storage/safefile.h"

#include "storage/descriptor_posix.h"
#include "storage/inplace_posix.h"
#include "storage/leftovers_posix.h"
#include "storage/newfile_posix.h"

#include <cerrno>
#include <chrono>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storage {
namespace {

using Kind = SaveError::Kind;
using namespace posix;

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

// Whether names in the folder can be neither removed nor replaced (chattr +a or +i): a
// new file could never be renamed over the old one or removed again.
bool folderKeepsItsNames(int folder)
{
    int flags = 0;
    return ::ioctl(folder, FS_IOC_GETFLAGS, &flags) == 0
        && (flags & (FS_APPEND_FL | FS_IMMUTABLE_FL)) != 0;
}

// Refusals to give the new file its place that writing in place gets around: the file is
// mounted on its own (EBUSY), lies on another file system than its folder (EXDEV), the
// folder forbids replacing it (EACCES, EPERM), or an unnamed file cannot be named without
// /proc (ENOENT).
bool renameCanBeAvoided(int error)
{
    return error == EBUSY || error == EXDEV || error == EACCES || error == EPERM || error == ENOENT;
}

// The checks on what is there before anything is written. Empty where the save may go on.
std::optional<SaveError> refusal(const std::filesystem::path &file, const struct stat &old)
{
    if (S_ISDIR(old.st_mode))
        return failure(Kind::Directory, 0);
    if (!S_ISREG(old.st_mode))
        return failure(Kind::NotRegularFile, 0);
    // Not even root overwrites a file that its owner has made read-only, by its mode or,
    // on NTFS and FAT, the Windows way, as Windows itself refuses to.
    if (!(old.st_mode & S_IWUSR) || windowsReadOnly(file, old))
        return failure(Kind::ReadOnly, 0, true);
    if (::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0)
        return failure(Kind::ReadOnly, errno, true);
    return std::nullopt;
}

// The first save: a new file with the mode the user's umask gives any new file, where the
// file system keeps modes at all.
std::optional<SaveError> create(int folder, const std::string &name, std::string_view bytes)
{
    NewFile newFile(folder, name);
    if (newFile.fd() < 0)
        return failure(Kind::CannotCreate, errno);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    (void)::fchmod(newFile.fd(), 0666 & ~mask); // FAT and SMB through FUSE refuse modes
    if (const int error = newFile.fill(name, bytes))
        return failure(Kind::CannotWrite, error);
    if (const int error = newFile.moveTo(name))
        return failure(Kind::CannotCreate, error);
    return std::nullopt;
}

// A new file that takes the old one's place, with all the old one has. Empty where it is
// better written in place, with the reason otherwise.
std::optional<std::optional<SaveError>> replace(int folder, const std::filesystem::path &file,
                                                std::string_view bytes, const struct stat &old)
{
    const std::string name = file.filename().native();
    NewFile newFile(folder, name);
    if (newFile.fd() < 0 || !carryOver(newFile.fd(), file, old))
        return std::nullopt;
    if (const int error = newFile.fill(name, bytes))
        return failure(Kind::CannotWrite, error, true);
    if (const int error = newFile.moveTo(name)) {
        if (renameCanBeAvoided(error))
            return std::nullopt;
        return failure(Kind::CannotWrite, error, true);
    }
    return std::optional<SaveError> {};
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

namespace {

// Whether what the name holds now is not what a save looked at: another save replaced it
// meanwhile, and on FUSE and network shares the name is even missing for a moment then.
bool changedMeanwhile(const std::filesystem::path &target, bool existed, const struct stat &old)
{
    struct stat now = {};
    const bool exists = ::stat(target.c_str(), &now) == 0;
    return exists != existed || (exists && (now.st_dev != old.st_dev || now.st_ino != old.st_ino));
}

// One try at the save, from the look at what is there to the end.
std::optional<SaveError> saveOnce(const std::filesystem::path &file, std::string_view bytes,
                                  bool &changed)
{
    if (folderIsGone(folderOf(file)))
        return failure(Kind::FolderGone, 0);
    std::filesystem::path target = file;
    if (auto refused = followLinks(target))
        return refused;
    const std::filesystem::path folder = folderOf(target);

    struct stat old = {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    const auto result = [&](std::optional<SaveError> outcome) {
        changed = outcome && changedMeanwhile(target, existed, old);
        return outcome;
    };
    if (!existed) {
        const int error = errno;
        struct stat folderStatus = {};
        if (target != file && error == ENOENT && ::stat(folder.c_str(), &folderStatus) != 0)
            return failure(Kind::LinkTargetMissing, 0);
        if (error != ENOENT)
            return failure(error == ELOOP ? Kind::LinkLoop : Kind::CannotCreate, error);
    }
    if (existed) {
        if (auto refused = refusal(target, old))
            return result(refused);
    }

    Descriptor folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderFd.get() < 0) {
        if (existed)
            return result(writeInPlace(target, bytes, old));
        return result(failure(Kind::CannotCreate, errno));
    }
    removeStaleTemporaries(folderFd.get(), target.filename().native());
    std::optional<SaveError> outcome;
    // Another name for the same file would keep the old content; only this file is it.
    const bool inPlace = existed && (old.st_nlink > 1 || folderKeepsItsNames(folderFd.get()));
    if (!existed) {
        outcome = create(folderFd.get(), target.filename().native(), bytes);
    } else if (auto replaced = inPlace ? std::nullopt
                                       : replace(folderFd.get(), target, bytes, old)) {
        outcome = *replaced;
    } else {
        outcome = writeInPlace(target, bytes, old);
    }
    // The rename itself reaches the disk with the folder; the file is in place already, so
    // a folder that cannot be synced (some file systems refuse) is no failure.
    if (!outcome)
        (void)::fsync(folderFd.get());
    return result(outcome);
}

} // namespace

std::optional<SaveError> replaceContent(const std::filesystem::path &file, std::string_view bytes)
{
    const SignalsHeld signalsHeld;
    // A save that failed because another one changed the file under it starts again from
    // what is there now.
    std::optional<SaveError> outcome;
    for (int attempt = 0; attempt < 5; ++attempt) {
        bool changed = false;
        outcome = saveOnce(file, bytes, changed);
        if (!changed)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return outcome;
}

} // namespace storage
