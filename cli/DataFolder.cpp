#include "cli/DataFolder.h"

#include "places/FilePlaces.h"

namespace {

std::string g_dataDirOption;

} // namespace

void SetDataDirOption(const std::string &folder)
{
    g_dataDirOption = folder;
}

std::string DataFolder()
{
    const std::filesystem::path folder =
        ChooseDataFolder(RunningProgramFolder(), g_dataDirOption, UserDataFolder());
    return folder.empty() ? "." : folder.string();
}

std::string DataFolderDescription()
{
    const std::string folder = DataFolder();
    if (!g_dataDirOption.empty())
        return folder + " (--data-dir)";
    if (folder == ".") {
        std::error_code error;
        const std::filesystem::path current = std::filesystem::current_path(error);
        return (error ? std::string("the current folder") : current.string()) +
               " (the current folder: brisquel-cli runs from its build tree)";
    }
    return folder + " (the user's data folder)";
}
