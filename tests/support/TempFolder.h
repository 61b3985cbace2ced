#pragma once
// A fresh empty folder under the system's temporary folder, removed with everything in it when
// the object goes, also when an assertion ends the test early.

#include <filesystem>
#include <string>
#include <string_view>

namespace testsupport {

class TempFolder
{
public:
    explicit TempFolder(std::string_view prefix = "brisquel");
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    std::string str() const { return m_path.string(); }
    // A file or folder inside, as text.
    std::string file(std::string_view name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

} // namespace testsupport
