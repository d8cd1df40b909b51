// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

#include <filesystem>

// Small file helpers shared by the entries file's tests.
namespace testfiles {

// The path of a name as its bytes, the way the program passes names to storage.
inline std::filesystem::path pathOf(const QString &name)
{
    return QFile::encodeName(name).toStdString();
}

inline QByteArray readAll(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool writeAll(const QString &name, const QByteArray &bytes)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace testfiles
