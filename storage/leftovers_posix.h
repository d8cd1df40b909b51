// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <string>
#include <string_view>

// The names of the save's temporary files, and the removal of those that killed saves
// left behind. A name tells which process on which host made it, so that no save ever
// removes another's live file, whatever owner a mount shows and whatever locks it keeps.
namespace storage::posix {

// The next temporary name beside the file called name: ".NAME.HOST.PID.START.COUNT", with
// the process's start time so that a process id used again later is told apart.
std::string nextTemporaryName(std::string_view name);

// Removes the temporary files beside the file called name (in the folder open as folder)
// that no live save can still want: those made on this host by a process that is gone,
// and any more than a day old, which covers other hosts and older versions' names
// ".NAME.PID.COUNT". Only regular files are removed, and none is opened.
void removeStaleTemporaries(int folder, std::string_view name);

} // namespace storage::posix
