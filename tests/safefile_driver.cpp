// SPDX-License-Identifier: GPL-3.0-or-later
// Runs replaceContent in a process of its own, for faults that only a whole process can
// meet: a system call failed by strace, a signal, a kill. Prints its process id first.
// "safefile_driver FILE BYTES" exits with the code codeOf() gives its result;
// "safefile_driver FILE BYTES loop" replaces the content until it is killed.
#include "storage/safefile.h"
#include "tests/savecode.h"

#include <cstdio>
#include <string_view>

#include <unistd.h>

int main(int argc, char *argv[])
{
    if (argc < 3)
        return 2;
    std::printf("%d\n", static_cast<int>(::getpid()));
    std::fflush(stdout);
    const bool loop = argc > 3 && std::string_view(argv[3]) == "loop";
    do {
        if (const auto failure = storage::replaceContent(argv[1], argv[2]))
            return codeOf(failure);
    } while (loop);
    return 0;
}
