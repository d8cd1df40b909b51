// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "storage/safefile.h"

#include <array>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include <sys/stat.h>
#include <sys/types.h>

// The plain tools of the careful save on POSIX: descriptors that close themselves, whole
// reads and writes, held signals, and the cause a failed call's errno names.
namespace storage::posix {

// Closes a descriptor on every path out.
class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) { }
    ~Descriptor() { reset(-1); }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    void reset(int fd);
    // Closes now, so that a failure of the close itself is seen (NFS and SMB report late).
    bool close();
    int release();

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
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld &) = delete;
    SignalsHeld &operator=(const SignalsHeld &) = delete;

private:
    static void note(int signal);
    static constexpr std::array<int, 3> held = {SIGHUP, SIGINT, SIGTERM};
    static inline volatile std::sig_atomic_t s_noted = 0;
    std::array<struct sigaction, held.size()> m_previous = {};
};

// A failure of the given kind, unless the errno names a cause of its own: a lost
// connection, a failing drive, a full disk.
SaveError failure(SaveError::Kind kind, int error, bool oldKept = false);

bool writeAllAt(int fd, std::string_view bytes, off_t offset);

// Up to limit bytes from the start; empty on a read failure.
std::optional<std::string> readAt(int fd, std::size_t limit);

// Up to limit bytes of the file as it is now, through a descriptor of its own: what a
// driver really kept, not what one handle remembers. Empty where it cannot be read.
std::optional<std::string> readFresh(int folder, const char *name, std::size_t limit);

// What openSame() and overwrite() give where something other than the regular file that
// was looked at has taken its name meanwhile.
constexpr int otherFileInPlace = -2;

// Opened for reading or writing as the regular file that was looked at, never blocking;
// -1 with errno set, or otherFileInPlace.
int openSame(int folder, const char *name, int flags, const struct stat &expected);

// Writes the bytes at the start of the file, cuts it to length bytes and syncs, through a
// write-only descriptor of its own: a handle that never reads, since some drivers (FAT
// through FUSE) drop a write that follows a read on one handle. 0, the errno, or
// otherFileInPlace.
int overwrite(const char *path, std::string_view bytes, off_t length, const struct stat &expected);

std::filesystem::path folderOf(const std::filesystem::path &file);

} // namespace storage::posix
