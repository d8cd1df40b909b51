// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/inplace_posix.h"

#include "storage/descriptor_posix.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>

namespace storage::posix {
namespace {

using Kind = SaveError::Kind;

// What an in-place write keeps of the old content to put it back; the entries file is
// 22 bytes, so a file beyond this is not one of ours and no promise is made about it.
constexpr std::size_t maxKeptBytes = std::size_t {64} * 1024;

bool isRefusal(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

} // namespace

std::optional<SaveError> writeInPlace(const std::filesystem::path &file, std::string_view bytes,
                                      const struct stat &old)
{
    const char *name = file.c_str();
    const auto oldSize = static_cast<std::size_t>(old.st_size);
    const std::size_t kept = std::min(oldSize, maxKeptBytes);
    std::optional<std::string> before;
    {
        const int reader = openSame(AT_FDCWD, name, O_RDONLY, old);
        if (reader == otherFileInPlace)
            return failure(Kind::NotRegularFile, 0); // something else took its place meanwhile
        if (reader < 0)
            return failure(isRefusal(errno) ? Kind::ReadOnly : Kind::CannotWrite, errno, true);
        const Descriptor closing(reader);
        before = readAt(reader, kept);
        if (!before || before->size() < kept)
            return failure(Kind::CannotWrite, before ? EIO : errno, true);
    }

    const int error = overwrite(name, bytes, static_cast<off_t>(bytes.size()), old);
    if (error == 0 && readFresh(AT_FDCWD, name, bytes.size() + 1) == bytes)
        return std::nullopt;
    if (error == otherFileInPlace)
        return failure(Kind::NotRegularFile, 0);
    // A driver that kept other bytes than it was given reports nothing itself.
    const int cause = error != 0 ? error : EIO;
    const Kind kind = isRefusal(cause) ? Kind::ReadOnly : Kind::CannotWrite;

    // The bytes that were overwritten lie within what was kept, even beyond the cap.
    const bool whole = kept == oldSize;
    const auto holdsOld = [&] { return readFresh(AT_FDCWD, name, oldSize + 1) == before; };
    if (whole && holdsOld())
        return failure(kind, cause, true); // nothing was changed
    const bool putBack = overwrite(name, *before, old.st_size, old) == 0;
    return failure(kind, cause, putBack && whole && holdsOld());
}

} // namespace storage::posix
