// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "storage/safefile.h"

#include <filesystem>
#include <optional>
#include <string_view>

#include <sys/stat.h>

namespace storage::posix {

// Writes the file where it is, so that it stays the same file with everything it has.
// Its old content is kept first through a descriptor that only reads; the new bytes are
// written and synced before the length is cut; and the save counts as done only when a
// fresh read finds exactly the new bytes. Otherwise every old byte and the old length are
// put back, and the result says truly whether the file holds them again.
std::optional<SaveError> writeInPlace(const std::filesystem::path &file, std::string_view bytes,
                                      const struct stat &old);

} // namespace storage::posix
