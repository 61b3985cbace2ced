#include "places/FilePlaces.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

bool RunsFromBuildTree(const fs::path &programFolder)
{
    std::error_code error;
    return !programFolder.empty() && fs::is_regular_file(programFolder / kBuildTreeMarker, error);
}

fs::path RunningProgramFolder()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program.parent_path();
}

fs::path UserDataFolder()
{
    // An XDG variable holding a relative path is invalid and must be ignored.
    const char *dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && fs::path(dataHome).is_absolute())
        return fs::path(dataHome) / kUserDataSubfolder;
    const char *home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd *entry = getpwuid(getuid());
        home = entry ? entry->pw_dir : nullptr;
    }
    if (!home || !*home)
        return {};
    return fs::path(home) / ".local" / "share" / kUserDataSubfolder;
}

fs::path ChooseDataFolder(const fs::path &programFolder, const fs::path &dataDirOption,
                          const fs::path &userDataFolder)
{
    std::error_code error;
    if (!dataDirOption.empty()) {
        const fs::path absolute = fs::absolute(dataDirOption, error);
        return (error ? dataDirOption : absolute).lexically_normal();
    }
    if (RunsFromBuildTree(programFolder))
        return {};
    return userDataFolder;
}

std::string FolderPathProblem(const fs::path &folder)
{
    std::error_code error;
    const std::string path = fs::absolute(folder, error).string();
    if (path.size() <= kMaxFolderPathBytes)
        return {};
    return "the folder's path is " + std::to_string(path.size()) +
           " bytes long; the files need a folder path of at most " +
           std::to_string(kMaxFolderPathBytes);
}

std::string PrepareFolder(const fs::path &folder)
{
    if (folder.empty())
        return "no folder for the files: neither HOME nor a home folder is known";
    if (std::string tooLong = FolderPathProblem(folder); !tooLong.empty())
        return "cannot use the folder " + folder.string().substr(0, 60) + "...: " + tooLong;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        return "cannot create the folder " + folder.string() + ": " + error.message();
    if (!fs::is_directory(folder, error))
        return "cannot use " + folder.string() + ": it is not a folder";
    // A real file tells more than access(): it sees read-only mounts and full disks alike.
    const fs::path probe = folder / (".brisquel-write-test-" + std::to_string(getpid()));
    const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return "cannot write in the folder " + folder.string() + ": " + std::strerror(errno);
    close(fd);
    fs::remove(probe, error);
    return {};
}
