#include "history/FileText.h"

#include <cerrno>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace history {

namespace {

std::string Reason(int code)
{
    return std::strerror(code != 0 ? code : EIO);
}

// Closes the descriptor on every way out.
struct Descriptor
{
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Opens path for reading when it is a regular file, else false with the message.
bool OpenRegular(const std::string &path, Descriptor &file, struct stat &info, std::string &error)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
    file.fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file.fd < 0) {
        const int code = errno;
        // A symlink loop or a folder without access is not a missing file.
        error =
            code == ENOENT ? path + " does not exist" : path + " cannot be read: " + Reason(code);
        return false;
    }
    if (::fstat(file.fd, &info) != 0) {
        error = "cannot read " + path + ": " + Reason(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = path + " is a folder, not a file";
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = path + " is not a regular file";
        return false;
    }
    return true;
}

// One read(2), again when a signal cut it short; -1 with the message on a failure.
ssize_t ReadSome(int fd, char *into, std::size_t size, const std::string &path, std::string &error)
{
    for (;;) {
        const ssize_t got = ::read(fd, into, size);
        if (got >= 0 || errno != EINTR) {
            if (got < 0)
                error = "cannot read " + path + ": " + Reason(errno);
            return got;
        }
    }
}

} // namespace

bool ReadFileStart(const std::string &path, std::size_t bytes, std::string &text,
                   std::string &error)
{
    text.clear();
    Descriptor file;
    struct stat info
    {
    };
    if (!OpenRegular(path, file, info, error))
        return false;
    text.resize(bytes);
    std::size_t got = 0;
    while (got < bytes) {
        const ssize_t n = ReadSome(file.fd, text.data() + got, bytes - got, path, error);
        if (n < 0) {
            text.clear();
            return false;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    text.resize(got);
    return true;
}

bool ReadFileText(const std::string &path, std::string &text, std::string &error,
                  std::uintmax_t maxBytes)
{
    text.clear();
    Descriptor file;
    struct stat info
    {
    };
    if (!OpenRegular(path, file, info, error))
        return false;
    const std::string tooLarge = path + " is too large to be a hand-history file or game log";
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
        error = tooLarge;
        return false;
    }
    try {
        text.reserve(static_cast<size_t>(info.st_size));
        // The size may be wrong (files of /proc say 0) or change while we read: the cap is
        // on what is read, not on what stat said.
        char buffer[65536];
        for (;;) {
            const ssize_t got = ReadSome(file.fd, buffer, sizeof buffer, path, error);
            if (got < 0) {
                text.clear();
                return false;
            }
            if (got == 0)
                break;
            if (text.size() + static_cast<size_t>(got) > maxBytes) {
                text.clear();
                error = tooLarge;
                return false;
            }
            text.append(buffer, static_cast<size_t>(got));
        }
    } catch (const std::bad_alloc &) {
        text.clear();
        text.shrink_to_fit();
        error = "cannot read " + path + ": not enough memory";
        return false;
    }
    return true;
}

} // namespace history
