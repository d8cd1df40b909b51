// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/safefile.h"

#include <QFile>
#include <QSaveFile>

#include <system_error>

namespace storage {

std::optional<std::string> readStart(const std::filesystem::path &file, std::size_t limit)
{
    QFile in(QString::fromStdWString(file.wstring()));
    if (!in.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = in.read(static_cast<qint64>(limit));
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::optional<SaveError> replaceContent(const std::filesystem::path &file, std::string_view bytes)
{
    std::error_code error;
    const bool existed = std::filesystem::exists(file, error);
    if (std::filesystem::is_directory(file, error))
        return SaveError {SaveError::Kind::Directory, 0, true};
    QSaveFile out(QString::fromStdWString(file.wstring()));
    if (!out.open(QIODevice::WriteOnly))
        return SaveError {SaveError::Kind::CannotCreate, 0, existed};
    // commit() renames even after a failed buffered write: flush and check first.
    if (out.write(bytes.data(), static_cast<qint64>(bytes.size()))
            != static_cast<qint64>(bytes.size())
        || !out.flush()) {
        out.cancelWriting();
        return SaveError {SaveError::Kind::CannotWrite, 0, existed};
    }
    if (!out.commit())
        return SaveError {SaveError::Kind::CannotWrite, 0, existed};
    return std::nullopt;
}

SystemReason reasonOf(int error)
{
    (void)error; // the replace through QSaveFile records no system code
    return SystemReason::None;
}

} // namespace storage
