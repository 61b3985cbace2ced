#pragma once
// A full disk without privileges: while the object lives, every write of this process and of
// the programs it starts fails past `bytes` of a file (EFBIG, "File too large"), as a full disk
// does past its free space; the signal that would otherwise end the writer is ignored.

#include <csignal>
#include <sys/resource.h>

namespace testsupport {

class FullDisk
{
public:
    explicit FullDisk(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_limit);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
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
    rlimit m_limit{};
    void (*m_signal)(int) = SIG_DFL;
};

} // namespace testsupport
