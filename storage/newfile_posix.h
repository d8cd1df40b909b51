// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "storage/descriptor_posix.h"

#include <filesystem>
#include <string>

#include <sys/stat.h>

// The new file that takes the old one's place, and what it carries over from it.
namespace storage::posix {

// The new file beside the old one, readable by the user alone until it has the old
// mode, and without a name where the file system allows: a process killed before the
// rename then leaves nothing behind. Otherwise its name says which save made it.
class NewFile
{
public:
    NewFile(int folder, const std::string &name);
    ~NewFile(); // closes, then removes what still has a temporary name
    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;

    int fd() const { return m_fd.get(); }

    // Writes and syncs the bytes, then closes the file, giving it a temporary name beside
    // the file called name first where it has none: some file systems (SMB) refuse to
    // rename a file that is open. Then checks, through a descriptor of its own, that it
    // holds exactly the bytes, since some drivers keep other bytes than they were given
    // (EIO then). 0 or the errno.
    int fill(const std::string &name, std::string_view bytes);

    // Renames the filled file to name. 0 or the errno.
    int moveTo(const std::string &name);

private:
    int m_folder;
    Descriptor m_fd;
    std::string m_name; // empty while the file has no name of its own
};

// What the old file shows, and what it is made to show on the new one: owner, group,
// mode, extended attributes (the ACL among them) and the Windows attributes that NTFS and
// FAT keep. Judged by what the file system can hold: on one that keeps no owners or modes
// (FAT, exFAT, NTFS through FUSE, SMB) every file shows the same, and that is no reason
// to write in place. False where something the old file shows will not carry over.
bool carryOver(int fd, const std::filesystem::path &old, const struct stat &oldStatus);

// Whether the file system marks the file read-only in the Windows way (NTFS, FAT), which
// its mode may not show.
bool windowsReadOnly(const std::filesystem::path &file, const struct stat &status);

} // namespace storage::posix
