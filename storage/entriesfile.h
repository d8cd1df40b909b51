// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "storage/safefile.h"

// The entries file: K factor, own rating and opponent rating, one per line, kept from one
// run to the next. Each line is a blank (or "-") in the sign position, the digits, one
// blank and CR LF: " 30 \r\n 1500 \r\n 1600 \r\n".
namespace storage {

// Whether anything of that name is there: a file, hidden or read-only or not, a
// directory, or a link. Any failure while looking counts as not there. Where nothing is
// found but the folder lists the file or a save of it, it looks again for up to 3 s: on
// a network share a file that another program is replacing is missing for an instant.
bool exists(const std::filesystem::path &file);

// The three entries as a file holds them; each one that cannot be read is empty.
struct StoredEntries
{
    std::optional<std::int16_t> k;
    std::optional<std::int16_t> own;
    std::optional<std::int16_t> opponent;
};

// Reads the entries from the first 4 KiB of a regular file; anything else (a directory,
// a FIFO, a device, a dangling link, an unreadable file) reads as nothing. Never changes
// the file and never blocks; see readStart. A file that is missing or empty as it is read
// is read again as exists() looks again.
StoredEntries load(const std::filesystem::path &file);

// The entries in a file's bytes. A UTF-8 byte-order mark at the start is skipped; blanks,
// tabs, CR and LF before a number are skipped, and a number ends at a blank, a tab, a
// comma or a line end. A field reads like an entry box ("1500.9" as 1500, "3e1" as 30),
// but only when the number takes the whole field and fits 16 bits; otherwise, or when it
// is missing, it is empty. With complete false the bytes are only the start of a longer
// file, and a field that runs to their end is empty, since it may be cut.
StoredEntries parse(std::string_view bytes, bool complete = true);

// The file's bytes for three entries.
std::string format(std::int16_t k, std::int16_t own, std::int16_t opponent);

// Replaces the file's content with the three entries as a whole, keeping all else the file
// has; see replaceContent. Empty on success.
std::optional<SaveError> save(const std::filesystem::path &file, std::int16_t k, std::int16_t own,
                              std::int16_t opponent);

} // namespace storage
