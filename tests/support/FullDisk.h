#pragma once
// A full disk without privileges: while the object lives, writes of this process and of the
// programs it starts fail past `bytes` of a file (EFBIG, "File too large"), as past a disk's
// free space; the signal that would end the writer is ignored.

#include <csignal>
#include <sys/resource.h>

namespace testsupport {

class FullDisk
{
public:
    explicit FullDisk(rlim_t bytes)
        : m_signal(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &m_limit);
        rlimit small = m_limit;
        small.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FullDisk()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_limit);
        std::signal(SIGXFSZ, m_signal);
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

private:
    void (*m_signal)(int);
    rlimit m_limit{};
};

} // namespace testsupport
