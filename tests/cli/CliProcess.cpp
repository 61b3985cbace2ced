#include "tests/cli/CliProcess.h"

#include "tests/support/Unprivileged.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace fs = std::filesystem;

namespace {

// Where brisquel-cli is started from.
std::string &Program()
{
    static std::string program = BRISQUEL_CLI;
    return program;
}

} // namespace

std::string ReadWholeFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

CliProcess::CliProcess(const std::vector<std::string> &args, const std::string &input,
                       const std::string &stdoutTo)
{
    {
        std::ofstream in(m_scratch.path() / "in", std::ios::binary);
        in << input;
    }
    std::vector<std::string> words{Program()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const std::string in = (m_scratch.path() / "in").string();
    const std::string out = stdoutTo.empty() ? (m_scratch.path() / "out").string() : stdoutTo;
    const std::string err = (m_scratch.path() / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(),
                                     O_WRONLY | (stdoutTo.empty() ? O_CREAT | O_TRUNC : 0), 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int rc = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + words[0]);
}

CliProcess::~CliProcess()
{
    if (m_pid > 0)
        Wait();
}

CliResult CliProcess::Wait()
{
    CliResult result;
    int status = 0;
    if (m_pid > 0 && ::waitpid(m_pid, &status, 0) == m_pid) {
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    m_pid = -1;
    result.out = ReadWholeFile(m_scratch.path() / "out");
    result.err = ReadWholeFile(m_scratch.path() / "err");
    return result;
}

void RunCliUnprivileged(const fs::path &folder, const std::function<void()> &body)
{
    if (::geteuid() != 0) {
        body();
        return;
    }
    const TempFolder bin("brisquel_cli_bin");
    fs::permissions(bin.path(), fs::perms::owner_all | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read |
                                    fs::perms::others_exec);
    const fs::path copy = bin.path() / "brisquel-cli";
    fs::copy_file(BRISQUEL_CLI, copy);
    Program() = copy.string();
    testsupport::RunUnprivileged(folder, body);
    Program() = BRISQUEL_CLI;
}
