#pragma once
// Writes whose every failure is seen. A file is replaced whole or not at all: its new text goes
// to a temporary file beside it, is flushed to the disk, and is renamed over it, so a full disk
// leaves the old file as it was. A path naming something other than a regular file (a FIFO,
// a device, a folder) is refused without opening it, so no write blocks on a FIFO without a
// reader. Plain POSIX, no Qt; any thread.

#include <cstdio>
#include <string>
#include <string_view>

namespace safefile {

// Replaces the file at `path` with `text`, creating it when missing. False with the reason
// (the system's, or "not a regular file") when it could not be written; the old file is then
// intact.
bool WriteFileReplacing(const std::string &path, std::string_view text, std::string &reason);

// Flushes `stream` (and std::cout, whose buffer lies before stdout's) and tells whether every
// write to it succeeded. False with the system's reason when not.
bool FinishOutput(std::FILE *stream, std::string &error);

} // namespace safefile
