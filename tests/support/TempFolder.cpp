#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <stdexcept>

namespace fs = std::filesystem;

namespace testsupport {

TempFolder::TempFolder(std::string_view prefix)
{
    std::string pattern = (fs::temp_directory_path() / prefix).string() + "_XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder " + pattern);
    m_path = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code error;
    // Folders a test made read-only must be writable again to be emptied.
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, error);
    for (auto it = fs::recursive_directory_iterator(m_path, error);
         it != fs::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
    fs::remove_all(m_path, error);
}

} // namespace testsupport
