// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

#include <string_view>

namespace qt {

// The windows' texts and names are UTF-8.
inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace qt
