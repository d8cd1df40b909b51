// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

// The windows' texts are UTF-8; Windows' wide functions take UTF-16.
namespace win32 {

std::wstring widen(std::string_view text);
std::string narrow(std::wstring_view text);

} // namespace win32
