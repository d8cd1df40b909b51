// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Careful access to a small file that other people and programs may share: a read that
// never blocks, and a replace that leaves the file whole, with all it has, whatever fails.
namespace storage {

// The first limit bytes of a regular file, or all of it if it is shorter. Empty where the
// name is no regular file (a directory, a FIFO, a device, a dangling link) or cannot be
// read. Never blocks, even when a FIFO takes the file's place while it opens.
std::optional<std::string> readStart(const std::filesystem::path &file, std::size_t limit);

struct SaveError
{
    enum class Kind {
        Directory,         // a directory of that name is in the way
        NotRegularFile,    // it is, or links to, a device, a FIFO or a socket
        UntrustedLink,     // a link that another user planted in a folder others may write
        LinkLoop,          // links that lead round in a circle
        LinkTargetMissing, // a link into a folder that does not exist
        ReadOnly,          // its owner may not write it, or the user may not
        FolderGone,        // the folder it belongs in no longer exists
        CannotCreate,      // it could not be created (no permission, no such folder)
        DiskFull,          // no space left, a quota or a file-size limit reached
        CannotWrite,       // any other failure while writing it
        ConnectionLost,    // the network share it lies on cannot be reached
        DriveFault,        // the drive, or the connection to it, failed to read or write
    };
    Kind kind;
    int error = 0;        // the system's own code (errno, or GetLastError), 0 where none
    bool oldKept = false; // true only where a file was there and holds exactly its old bytes
};

// What the system's code says, in terms that are the same on every platform, so that one
// table of words serves every front end.
enum class SystemReason {
    None, // no code, or one the program has no words of its own for
    NoSpace,
    Quota,
    FileTooLarge,
    AccessDenied,
    NotPermitted,
    ReadOnlyFileSystem,
    InputOutput,
    NotFound,
    NotAFolder,
    IsAFolder,
    TooManyLinks,
    NameTooLong,
    Busy,
    InUse,
    OutOfMemory,
    TooManyOpenFiles,
    StaleHandle,
    NotConnected,
    HostDown,
    HostUnreachable,
    ConnectionAborted,
    ConnectionReset,
    TimedOut,
    NetworkDown,
};

// The reason for a SaveError's code.
SystemReason reasonOf(int error);

// Replaces the file's whole content with bytes, and keeps everything else the file has:
// owner, group, mode, ACLs and other extended attributes, and its other hard links.
// Where a new file beside it can carry all of that over, the bytes go into a new file
// that is synced and renamed into place; otherwise (another user's file, a second link,
// an attribute that will not copy, a folder the user may not change) the file is written
// in place, and every old byte and its length are put back if that fails. A link is
// followed only where it is the user's, root's or the folder owner's; nothing that is not
// a regular file is ever written. SIGHUP, SIGINT and SIGTERM wait until the replace is
// done, and temporary files that killed replaces left behind are removed. Empty on success.
std::optional<SaveError> replaceContent(const std::filesystem::path &file, std::string_view bytes);

} // namespace storage
