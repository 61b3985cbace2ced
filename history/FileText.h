#pragma once
// The one way the readers take a file from disk. Only a regular file is read (a FIFO would
// block for ever, /dev/zero never ends), never more than a cap, and every failure (missing,
// a folder, unreadable, an I/O error halfway) comes back as a message naming the file, never as
// an exception. Plain POSIX, no Qt; any thread.

#include <cstddef>
#include <cstdint>
#include <string>

namespace history {

// Large enough for any game this program writes; anything far larger is not one of ours.
inline constexpr std::uintmax_t kMaxReadBytes = 512u * 1024u * 1024u;

// The whole file in text. False with a message ("<path> does not exist", "<path> is not a
// regular file", "<path> is too large ...", "<path> cannot be read: <reason>" when it cannot be
// opened, "cannot read <path>: <reason>" when reading fails) when it cannot be had.
bool ReadFileText(const std::string &path, std::string &text, std::string &error,
                  std::uintmax_t maxBytes = kMaxReadBytes);

// The file's first `bytes` bytes (all of a shorter file), for a look at what it holds; the
// same refusals as ReadFileText but for the size.
bool ReadFileStart(const std::string &path, std::size_t bytes, std::string &text,
                   std::string &error);

} // namespace history
