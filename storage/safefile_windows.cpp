// SPDX-License-Identifier: GPL-3.0-or-later
// The careful read and replace on Windows, with the Win32 API: a new file beside the old
// one, flushed, then put in its place by ReplaceFileW, which keeps the old file's ACL,
// attributes and streams.
#include "storage/safefile.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>

namespace storage {
namespace {

using Kind = SaveError::Kind;

// Closes a handle when it goes.
class Handle
{
public:
    explicit Handle(HANDLE handle) : m_handle(handle) { }
    ~Handle()
    {
        if (valid())
            CloseHandle(m_handle);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return m_handle; }
    bool close()
    {
        const bool closed = CloseHandle(m_handle) != 0;
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

std::wstring fullPath(const std::filesystem::path &file)
{
    const std::wstring name = file.wstring();
    const DWORD size = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return name;
    std::wstring full(size, L'\0');
    full.resize(GetFullPathNameW(name.c_str(), size, full.data(), nullptr));
    return full;
}

bool isNetworkFailure(DWORD code)
{
    switch (code) {
    case ERROR_BAD_NETPATH:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_HOST_UNREACHABLE:
    case ERROR_CONNECTION_ABORTED:
    case ERROR_SEM_TIMEOUT:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_NET_NAME:
    case ERROR_NO_NET_OR_BAD_PATH:
        return true;
    default:
        return false;
    }
}

// What a failure to write or replace means, with the old content as it is.
SaveError failure(DWORD code, Kind otherwise, bool oldKept)
{
    Kind kind = otherwise;
    if (code == ERROR_DISK_FULL || code == ERROR_HANDLE_DISK_FULL)
        kind = Kind::DiskFull;
    else if (isNetworkFailure(code))
        kind = Kind::ConnectionLost;
    else if (code == ERROR_CRC || code == ERROR_IO_DEVICE || code == ERROR_GEN_FAILURE)
        kind = Kind::DriveFault;
    else if (code == ERROR_WRITE_PROTECT)
        kind = Kind::ReadOnly;
    return {kind, static_cast<int>(code), oldKept};
}

bool writeAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

} // namespace

std::optional<std::string> readStart(const std::filesystem::path &file, std::size_t limit)
{
    Handle in(CreateFileW(file.wstring().c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    // A folder does not open this way; a device or a pipe is no disk file.
    if (!in.valid() || GetFileType(in.get()) != FILE_TYPE_DISK)
        return std::nullopt;
    std::string bytes(limit, '\0');
    std::size_t filled = 0;
    while (filled < limit) {
        DWORD read = 0;
        if (!ReadFile(in.get(), bytes.data() + filled, static_cast<DWORD>(limit - filled), &read,
                      nullptr))
            return std::nullopt;
        if (read == 0)
            break;
        filled += read;
    }
    bytes.resize(filled);
    return bytes;
}

std::optional<SaveError> replaceContent(const std::filesystem::path &file, std::string_view bytes)
{
    const std::wstring target = fullPath(file);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (!existed) {
        const DWORD code = GetLastError();
        if (code == ERROR_PATH_NOT_FOUND)
            return SaveError {Kind::FolderGone, static_cast<int>(code), false};
        if (code != ERROR_FILE_NOT_FOUND)
            return failure(code, Kind::CannotCreate, false);
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return SaveError {Kind::Directory, 0, true};
    } else if (attributes & FILE_ATTRIBUTE_READONLY) {
        // Windows refuses to replace a read-only file; so does the program, everywhere.
        return SaveError {Kind::ReadOnly, ERROR_ACCESS_DENIED, true};
    }
    if (existed) {
        Handle old(CreateFileW(target.c_str(), 0,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (old.valid() && GetFileType(old.get()) != FILE_TYPE_DISK)
            return SaveError {Kind::NotRegularFile, 0, true};
    }

    // The new file beside the old one, so that the replace stays on one volume.
    static std::atomic<unsigned> count {0};
    const std::size_t slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : target.substr(0, slash);
    const std::wstring temporary = folder + L"\\.Ratinor.ini."
        + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(count++) + L".tmp";
    Handle out(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out.valid()) {
        const DWORD code = GetLastError();
        if (code == ERROR_PATH_NOT_FOUND)
            return SaveError {Kind::FolderGone, static_cast<int>(code), existed};
        return failure(code, Kind::CannotCreate, existed);
    }
    if (!writeAll(out.get(), bytes) || !FlushFileBuffers(out.get())) {
        const DWORD code = GetLastError();
        out.close();
        DeleteFileW(temporary.c_str());
        return failure(code, Kind::CannotWrite, existed);
    }
    if (!out.close()) {
        const DWORD code = GetLastError();
        DeleteFileW(temporary.c_str());
        return failure(code, Kind::CannotWrite, existed);
    }

    // ReplaceFileW gives the new file the old one's attributes; wine's does not, so the
    // new file carries them already.
    if (existed)
        SetFileAttributesW(temporary.c_str(),
                           attributes
                               & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                                  | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
    const bool replaced = existed ? ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                                 REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
            != 0
                                  : MoveFileExW(temporary.c_str(), target.c_str(),
                                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
            != 0;
    if (replaced)
        return std::nullopt;
    const DWORD code = GetLastError();
    // ERROR_UNABLE_TO_MOVE_REPLACEMENT: nothing happened. ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
    // the old file is gone from its name, and the new one must take it.
    if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2
        && MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return std::nullopt;
    DeleteFileW(temporary.c_str());
    return failure(code, code == ERROR_ACCESS_DENIED ? Kind::ReadOnly : Kind::CannotWrite,
                   existed && GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES);
}

SystemReason reasonOf(int error)
{
    switch (static_cast<DWORD>(error)) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return SystemReason::NoSpace;
    case ERROR_ACCESS_DENIED:
        return SystemReason::AccessDenied;
    case ERROR_WRITE_PROTECT:
        return SystemReason::ReadOnlyFileSystem;
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_GEN_FAILURE:
        return SystemReason::InputOutput;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return SystemReason::NotFound;
    case ERROR_DIRECTORY:
        return SystemReason::NotAFolder;
    case ERROR_FILENAME_EXCED_RANGE:
        return SystemReason::NameTooLong;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return SystemReason::InUse;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return SystemReason::OutOfMemory;
    case ERROR_TOO_MANY_OPEN_FILES:
        return SystemReason::TooManyOpenFiles;
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
    case ERROR_DEV_NOT_EXIST:
        return SystemReason::NotConnected;
    case ERROR_HOST_UNREACHABLE:
        return SystemReason::HostUnreachable;
    case ERROR_CONNECTION_ABORTED:
        return SystemReason::ConnectionAborted;
    case ERROR_SEM_TIMEOUT:
        return SystemReason::TimedOut;
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_UNEXP_NET_ERR:
        return SystemReason::NetworkDown;
    default:
        return SystemReason::None;
    }
}

} // namespace storage
