#include "storage/entriesfile.h"

#include "calc/conversion.h"

#include <QSaveFile>
#include <QString>

#include <fstream>
#include <system_error>

namespace storage {
namespace {

// Three numbers take 22 bytes; a file much longer than that is not one of ours.
constexpr std::size_t maxBytes = 4096;

bool isSpace(char c)
{
    return c == ' ' || c == '\r' || c == '\n';
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

StoredEntries parse(std::string_view bytes)
{
    std::size_t i = 0;
    const auto next = [&]() -> std::optional<std::int16_t> {
        while (i < bytes.size() && isSpace(bytes[i]))
            ++i;
        const std::size_t start = i;
        while (i < bytes.size() && !endsNumber(bytes[i]))
            ++i;
        const std::string_view field = bytes.substr(start, i - start);
        while (i < bytes.size() && bytes[i] == ' ')
            ++i;
        if (i < bytes.size() && bytes[i] == ',')
            ++i;
        if (field.empty() || calc::numericPrefixLength(field) != field.size())
            return std::nullopt;
        return calc::entryValue(field);
    };
    StoredEntries entries;
    entries.k = next();
    entries.own = next();
    entries.opponent = next();
    return entries;
}

StoredEntries load(const std::filesystem::path &file)
{
    // Only a regular file: opening a FIFO without a writer would block the start.
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error) || error)
        return {};
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {};
    std::string bytes(maxBytes, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return parse(bytes);
}

std::string format(std::int16_t k, std::int16_t own, std::int16_t opponent)
{
    std::string bytes;
    appendLine(bytes, k);
    appendLine(bytes, own);
    appendLine(bytes, opponent);
    return bytes;
}

std::optional<SaveError> save(const std::filesystem::path &file, std::int16_t k, std::int16_t own,
                              std::int16_t opponent)
{
    std::error_code error;
    if (std::filesystem::is_directory(file, error))
        return SaveError {SaveError::Kind::Directory, {}};

    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly))
        return SaveError {SaveError::Kind::CannotCreate, out.errorString().toStdString()};
    const std::string bytes = format(k, own, opponent);
    if (out.write(bytes.data(), static_cast<qint64>(bytes.size()))
            != static_cast<qint64>(bytes.size())
        || !out.commit())
        return SaveError {SaveError::Kind::CannotWrite, out.errorString().toStdString()};
    return std::nullopt;
}

} // namespace storage
