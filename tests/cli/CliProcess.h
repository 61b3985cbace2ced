#pragma once
// Runs the built brisquel-cli as a separate process, as a user or a script would, with its
// standard output and error captured in files of a scratch folder.

#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

struct CliResult
{
    int status = -1; // exit status; 128 + signal when killed
    std::string out;
    std::string err;
};

class CliProcess
{
public:
    // Starts `brisquel-cli args...` with `input` on its standard input.
    CliProcess(const std::vector<std::string> &args, const std::string &input = {});
    ~CliProcess();
    CliProcess(const CliProcess &) = delete;
    CliProcess &operator=(const CliProcess &) = delete;

    CliResult Wait();

private:
    pid_t m_pid = -1;
    std::filesystem::path m_scratch;
};

inline CliResult RunCli(const std::vector<std::string> &args, const std::string &input = {})
{
    return CliProcess(args, input).Wait();
}

std::string ReadWholeFile(const std::filesystem::path &path);

// A fresh empty folder under the system's temporary folder, removed by the destructor.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::filesystem::path &path() const { return m_path; }
    std::string str() const { return m_path.string(); }

private:
    std::filesystem::path m_path;
};
