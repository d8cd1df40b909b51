// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "storage/safefile.h"

#include <optional>

// A replace's result as a process exit code, for saves run in a process of their own:
// 0 on success, else 10 + 2 * kind + (old content kept).
inline int codeOf(const std::optional<storage::SaveError> &failure)
{
    return failure ? 10 + 2 * static_cast<int>(failure->kind) + (failure->oldKept ? 1 : 0) : 0;
}
