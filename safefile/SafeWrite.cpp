#include "safefile/SafeWrite.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace safefile {

namespace {

bool Refuse(const char *why, std::string &reason)
{
    reason = why;
    return false;
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        text.remove_prefix(std::size_t(n));
    }
    return true;
}

} // namespace

bool WriteFileReplacing(const std::string &path, std::string_view text, std::string &reason)
{
    // The mode of the file replaced, or what a new file would get.
    mode_t mode = 0666;
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode))
            return Refuse("not a regular file", reason);
        mode = info.st_mode & 07777;
    } else if (errno != ENOENT) {
        return Refuse(std::strerror(errno), reason);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return Refuse(std::strerror(errno), reason);
    bool ok = WriteAll(fd, text) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    int failure = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        failure = errno;
    }
    if (ok)
        return true;
    ::unlink(temporary.c_str());
    return Refuse(std::strerror(failure ? failure : EIO), reason);
}

bool FinishOutput(std::FILE *stream, std::string &error)
{
    // A write that failed earlier left only the stream's error flag; errno still tells why
    // unless something else failed since, which no write error below would be mistaken for.
    const int earlier = errno;
    errno = 0;
    if (stream == stdout)
        std::cout.flush();
    const bool coutFailed = stream == stdout && !std::cout;
    if (std::fflush(stream) == 0 && !std::ferror(stream) && !coutFailed)
        return true;
    int reason = errno;
    if (reason == 0) {
        for (const int writeError : {ENOSPC, EFBIG, EDQUOT, EIO, EPIPE, EBADF})
            reason = earlier == writeError ? earlier : reason;
    }
    error = reason ? std::strerror(reason) : "a write failed";
    return false;
}

} // namespace safefile
