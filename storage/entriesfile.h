#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The entries file: K factor, own rating and opponent rating, one per line, kept from one
// run to the next. Each line is a blank (or "-") in the sign position, the digits, one
// blank and CR LF: " 30 \r\n 1500 \r\n 1600 \r\n".
namespace storage {

// Whether anything of that name is there: a file, hidden or read-only or not, a
// directory, or a link. Any failure while looking counts as not there.
bool exists(const std::filesystem::path &file);

// The three entries as a file holds them; each one that cannot be read is empty.
struct StoredEntries
{
    std::optional<std::int16_t> k;
    std::optional<std::int16_t> own;
    std::optional<std::int16_t> opponent;
};

// Reads the entries from the first few KiB of a regular file; anything else (a
// directory, a FIFO, a device, a dangling link, an unreadable file) reads as nothing.
// Never changes the file and never blocks.
StoredEntries load(const std::filesystem::path &file);

// The entries in a file's bytes. Blanks, CR and LF before a number are skipped, and a
// number ends at a blank, a comma or a line end. A field that is not a whole number of
// 16-bit range, or is missing, reads as empty.
StoredEntries parse(std::string_view bytes);

// The file's bytes for three entries.
std::string format(std::int16_t k, std::int16_t own, std::int16_t opponent);

struct SaveError
{
    enum class Kind {
        Directory,    // a directory of that name is in the way
        CannotCreate, // the file could not be created (no permission, no such folder)
        CannotWrite,  // writing or replacing it failed (a full disk)
    };
    Kind kind;
    std::string detail; // the system's own words
};

// Replaces the file's content with the three entries as a whole: a new file is written
// beside it and renamed into place, so a failure leaves the old content as it was.
// Empty on success.
std::optional<SaveError> save(const std::filesystem::path &file, std::int16_t k, std::int16_t own,
                              std::int16_t opponent);

} // namespace storage
