#pragma once
// Runs the built brisquel-cli as a separate process, as a user or a script would, with its
// standard output and error captured in files of a scratch folder.

#include "tests/support/TempFolder.h"

#include <filesystem>
#include <functional>
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
    // Starts `brisquel-cli args...` with `input` on its standard input and, when `stdoutTo`
    // names a file (/dev/full), its standard output written there instead of captured.
    CliProcess(const std::vector<std::string> &args, const std::string &input = {},
               const std::string &stdoutTo = {});
    ~CliProcess();
    CliProcess(const CliProcess &) = delete;
    CliProcess &operator=(const CliProcess &) = delete;

    CliResult Wait();

private:
    pid_t m_pid = -1;
    testsupport::TempFolder m_scratch{"brisquel_cli_run"};
};

inline CliResult RunCli(const std::vector<std::string> &args, const std::string &input = {},
                        const std::string &stdoutTo = {})
{
    return CliProcess(args, input, stdoutTo).Wait();
}

std::string ReadWholeFile(const std::filesystem::path &path);

using testsupport::TempFolder;

// Runs `body` as testsupport::RunUnprivileged does, with brisquel-cli started from a copy that
// the user nobody can reach (the build tree may lie in a folder closed to other users).
void RunCliUnprivileged(const std::filesystem::path &folder, const std::function<void()> &body);
