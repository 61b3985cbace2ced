#include "tests/cli/CliProcess.h"

#include <atomic>
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

fs::path FreshFolder(const char *prefix)
{
    static std::atomic<int> counter{0};
    const fs::path path =
        fs::temp_directory_path() / (std::string(prefix) + std::to_string(::getpid()) + "_" +
                                     std::to_string(counter.fetch_add(1)));
    fs::remove_all(path);
    fs::create_directories(path);
    return path;
}

} // namespace

std::string ReadWholeFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ScratchFolder::ScratchFolder()
    : m_path(FreshFolder("brisquel_cli_test_"))
{}

ScratchFolder::~ScratchFolder()
{
    std::error_code error;
    // Folders a test made read-only must be writable again to be removed.
    for (auto it = fs::recursive_directory_iterator(m_path, error);
         it != fs::recursive_directory_iterator(); it.increment(error))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(m_path, error);
}

CliProcess::CliProcess(const std::vector<std::string> &args, const std::string &input)
    : m_scratch(FreshFolder("brisquel_cli_run_"))
{
    {
        std::ofstream in(m_scratch / "in", std::ios::binary);
        in << input;
    }
    std::vector<std::string> words{BRISQUEL_CLI};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const std::string in = (m_scratch / "in").string();
    const std::string out = (m_scratch / "out").string();
    const std::string err = (m_scratch / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
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
    std::error_code error;
    fs::remove_all(m_scratch, error);
}

CliResult CliProcess::Wait()
{
    CliResult result;
    int status = 0;
    if (m_pid > 0 && ::waitpid(m_pid, &status, 0) == m_pid) {
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    m_pid = -1;
    result.out = ReadWholeFile(m_scratch / "out");
    result.err = ReadWholeFile(m_scratch / "err");
    return result;
}
