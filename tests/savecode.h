// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "storage/safefile.h"

#include <filesystem>
#include <optional>
#include <string_view>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

// A replace's result as a process exit code, for saves run in a process of their own:
// 0 on success, else 10 + 2 * kind + (old content kept).
inline int codeOf(const std::optional<storage::SaveError> &failure)
{
    return failure ? 10 + 2 * static_cast<int>(failure->kind) + (failure->oldKept ? 1 : 0) : 0;
}

// Replaces the content in a child process that is first made the given user, in the given
// group alone; root (user 0) keeps its rights. The code codeOf() gives, or -1.
inline int saveAs(uid_t user, gid_t group, const std::filesystem::path &file,
                  std::string_view bytes)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (user != 0
            && (::setgroups(1, &group) != 0 || ::setgid(group) != 0 || ::setuid(user) != 0))
            ::_exit(99);
        ::_exit(codeOf(storage::replaceContent(file, bytes)));
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
