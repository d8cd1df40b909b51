// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/leftovers_posix.h"

#include "storage/descriptor_posix.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <ctime>
#include <fstream>
#include <optional>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace storage::posix {
namespace {

// Another host's save, or one that an older version made, is over long before this.
constexpr std::time_t staleAfterSeconds = std::time_t {24} * 60 * 60;

// This host's name as it may stand in a file name on any file system: letters, digits
// and hyphens, the rest as hyphens.
const std::string &hostName()
{
    static const std::string host = [] {
        std::array<char, 256> buffer = {};
        std::string name = ::gethostname(buffer.data(), buffer.size() - 1) == 0 ? buffer.data()
                                                                                : "";
        name = name.substr(0, 63);
        for (char &c : name) {
            const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
                || (c >= '0' && c <= '9');
            if (!plain)
                c = '-';
        }
        return name.empty() ? std::string("host") : name;
    }();
    return host;
}

// When a process started, in clock ticks since boot, as /proc tells; empty where it
// cannot be read.
std::optional<unsigned long long> startOf(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return std::nullopt;
    // The command name in brackets may hold blanks; the fields after it do not.
    std::size_t at = line.rfind(')');
    for (int field = 2; field < 22 && at != std::string::npos; ++field)
        at = line.find(' ', at + 1);
    if (at == std::string::npos)
        return std::nullopt;
    unsigned long long start = 0;
    const char *first = line.data() + at + 1;
    if (std::from_chars(first, line.data() + line.size(), start).ec != std::errc {})
        return std::nullopt;
    return start;
}

bool isNumber(std::string_view digits)
{
    return !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
}

template <typename Number> Number numberOf(std::string_view digits)
{
    Number value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

std::vector<std::string_view> fieldsOf(std::string_view text)
{
    std::vector<std::string_view> fields;
    for (std::size_t dot; (dot = text.find('.')) != std::string_view::npos;) {
        fields.push_back(text.substr(0, dot));
        text.remove_prefix(dot + 1);
    }
    fields.push_back(text);
    return fields;
}

// What a temporary name of the file tells of the save that made it.
struct Maker
{
    bool thisHost = false;
    pid_t pid = 0;
    unsigned long long start = 0;
};

std::optional<Maker> makerOf(std::string_view entry, std::string_view name)
{
    if (entry.size() <= name.size() + 2 || entry[0] != '.' || entry.substr(1, name.size()) != name
        || entry[name.size() + 1] != '.')
        return std::nullopt;
    const auto fields = fieldsOf(entry.substr(name.size() + 2));
    if (fields.size() == 2 && isNumber(fields[0]) && isNumber(fields[1]))
        return Maker {}; // an older version's name: host unknown
    if (fields.size() != 4 || fields[0].empty() || !isNumber(fields[1]) || !isNumber(fields[2])
        || !isNumber(fields[3]))
        return std::nullopt;
    return Maker {fields[0] == hostName(), numberOf<pid_t>(fields[1]),
                  numberOf<unsigned long long>(fields[2])};
}

bool stillRuns(const Maker &maker)
{
    if (maker.pid <= 0 || (::kill(maker.pid, 0) != 0 && errno != EPERM))
        return false;
    // The id may have been given to another process since; where /proc cannot tell, the
    // process counts as the save.
    const auto start = startOf(maker.pid);
    return !start || *start == maker.start;
}

} // namespace

std::string nextTemporaryName(std::string_view name)
{
    static unsigned counter = 0;
    static const unsigned long long start = startOf(::getpid()).value_or(0);
    return "." + std::string(name) + "." + hostName() + "." + std::to_string(::getpid()) + "."
        + std::to_string(start) + "." + std::to_string(++counter);
}

void removeStaleTemporaries(int folder, std::string_view name)
{
    const int listFd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listFd < 0)
        return;
    DIR *listing = ::fdopendir(listFd);
    if (!listing) {
        ::close(listFd);
        return;
    }
    std::vector<std::string> stale;
    const std::time_t now = std::time(nullptr);
    while (const dirent *entry = ::readdir(listing)) {
        const auto maker = makerOf(entry->d_name, name);
        struct stat status = {};
        if (!maker || ::fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0
            || !S_ISREG(status.st_mode))
            continue;
        const bool old = now - status.st_mtime > staleAfterSeconds;
        if (old || (maker->thisHost && !stillRuns(*maker)))
            stale.emplace_back(entry->d_name);
    }
    // Removed after the listing, so that the folder does not change while it is read.
    ::closedir(listing);
    for (const std::string &entry : stale)
        ::unlinkat(folder, entry.c_str(), 0);
}

} // namespace storage::posix
