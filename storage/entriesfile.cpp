// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/entriesfile.h"

#include "calc/conversion.h"

#include <chrono>
#include <system_error>
#include <thread>

namespace storage {
namespace {

// Three numbers take 22 bytes; a file much longer than that is not one of ours.
constexpr std::size_t maxBytes = 4096;

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isSpace(char c)
{
    return isBlank(c) || c == '\r' || c == '\n';
}

bool endsNumber(char c)
{
    return isSpace(c) || c == ',';
}

void appendLine(std::string &bytes, std::int16_t value)
{
    // A negative number's "-" stands in the sign position that a blank holds otherwise.
    if (value >= 0)
        bytes += ' ';
    bytes += calc::entryText(value);
    bytes += " \r\n";
}

bool isThere(const std::filesystem::path &file)
{
    std::error_code error;
    const auto status = std::filesystem::symlink_status(file, error);
    return !error && std::filesystem::exists(status);
}

// Whether the folder lists the file, or one of the save's temporary names for it
// (".NAME.…"): another program is saving it, or the share is slow to show it.
bool listed(const std::filesystem::path &file)
{
    const std::string name = file.filename().string();
    const std::string prefix = "." + name + ".";
    std::error_code error;
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error))
        if (const std::string entryName = entry->path().filename().string();
            entryName == name || entryName.starts_with(prefix))
            return true;
    return false;
}

// Tries look until it succeeds, for up to 3 s while the folder lists the file or a save
// of it: on a network share or another FUSE mount, a file that another program is renaming
// into place is missing for an instant, and an SMB share can fail to open or read a file
// it lists for a while after a replace. A file the folder does not list is not waited for.
template <typename Look> auto lookWhileReplaced(const std::filesystem::path &file, Look look)
{
    auto result = look();
    for (int wait = 100; !result && wait <= 1600 && listed(file); wait *= 2) {
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
        result = look();
    }
    return result;
}

} // namespace

bool exists(const std::filesystem::path &file)
{
    return lookWhileReplaced(file, [&] { return isThere(file); });
}

StoredEntries parse(std::string_view bytes, bool complete)
{
    // Some editors put a byte-order mark in front of UTF-8 text.
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (bytes.starts_with(byteOrderMark))
        bytes.remove_prefix(byteOrderMark.size());
    std::size_t i = 0;
    const auto next = [&]() -> std::optional<std::int16_t> {
        while (i < bytes.size() && isSpace(bytes[i]))
            ++i;
        const std::size_t start = i;
        while (i < bytes.size() && !endsNumber(bytes[i]))
            ++i;
        const std::string_view field = bytes.substr(start, i - start);
        const bool mayBeCut = !complete && i == bytes.size();
        while (i < bytes.size() && isBlank(bytes[i]))
            ++i;
        if (i < bytes.size() && bytes[i] == ',')
            ++i;
        if (mayBeCut || field.empty() || calc::numericPrefixLength(field) != field.size())
            return std::nullopt;
        return calc::entryValue(field);
    };
    StoredEntries entries;
    entries.k = next();
    entries.own = next();
    entries.opponent = next();
    return entries;
}

std::string format(std::int16_t k, std::int16_t own, std::int16_t opponent)
{
    std::string bytes;
    appendLine(bytes, k);
    appendLine(bytes, own);
    appendLine(bytes, opponent);
    return bytes;
}

StoredEntries load(const std::filesystem::path &file)
{
    // One byte past the limit tells whether a number at the limit ends there.
    std::optional<std::string> bytes;
    // A share may show a file that is being replaced as missing or empty for an instant.
    lookWhileReplaced(file, [&] {
        bytes = readStart(file, maxBytes + 1);
        if (bytes)
            return !bytes->empty();
        // A directory, a FIFO or a device under the name is no file being replaced.
        std::error_code error;
        const auto status = std::filesystem::status(file, error);
        return !error && std::filesystem::exists(status)
            && !std::filesystem::is_regular_file(status);
    });
    if (!bytes)
        return {};
    return parse(*bytes, bytes->size() <= maxBytes);
}

std::optional<SaveError> save(const std::filesystem::path &file, std::int16_t k, std::int16_t own,
                              std::int16_t opponent)
{
    return replaceContent(file, format(k, own, opponent));
}

} // namespace storage
