// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/entriesfile.h"

#include "calc/conversion.h"

#include <system_error>

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

} // namespace

bool exists(const std::filesystem::path &file)
{
    std::error_code error;
    const auto status = std::filesystem::symlink_status(file, error);
    return !error && std::filesystem::exists(status);
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
    const std::optional<std::string> bytes = readStart(file, maxBytes + 1);
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
