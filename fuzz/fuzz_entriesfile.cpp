// SPDX-License-Identifier: GPL-3.0-or-later
// The entries file reader on arbitrary bytes: no crash, no undefined behaviour, and the
// values it finds are written back as bytes that read the same.
#include "storage/entriesfile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const storage::StoredEntries entries = storage::parse(
        std::string_view(reinterpret_cast<const char *>(data), size));
    if (entries.k && entries.own && entries.opponent) {
        const storage::StoredEntries again = storage::parse(
            storage::format(*entries.k, *entries.own, *entries.opponent));
        if (again.k != entries.k || again.own != entries.own || again.opponent != entries.opponent)
            std::abort();
    }
    return 0;
}
