// Where the files go: build tree or not, --data-dir, the user's data folder, unusable folders.

#include "places/FilePlaces.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

// Sets or unsets an environment variable for one test and restores it afterwards.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const char *value)
        : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

class FilePlacesTest : public ::testing::Test
{
protected:
    void SetUp() override { fs::create_directories(m_folder / "bin"); }

    void MarkBuildTree() { std::ofstream(m_folder / "bin" / kBuildTreeMarker) << "x"; }

    testsupport::TempFolder m_temp{"brisquel_places"};
    fs::path m_folder = m_temp.path();
};

} // namespace

TEST_F(FilePlacesTest, BuildTreeIsKnownByTheMarkerBesideTheProgram)
{
    EXPECT_FALSE(RunsFromBuildTree(m_folder / "bin"));
    EXPECT_FALSE(RunsFromBuildTree({}));
    fs::create_directory(m_folder / "bin" / kBuildTreeMarker);
    EXPECT_FALSE(RunsFromBuildTree(m_folder / "bin")) << "a folder of that name is no marker";
    fs::remove(m_folder / "bin" / kBuildTreeMarker);
    MarkBuildTree();
    EXPECT_TRUE(RunsFromBuildTree(m_folder / "bin"));
    // Only beside the program: a build tree further up does not count, so a staging folder
    // inside a build tree is an installation.
    fs::create_directories(m_folder / "bin" / "stage" / "usr" / "bin");
    EXPECT_FALSE(RunsFromBuildTree(m_folder / "bin" / "stage" / "usr" / "bin"));
}

TEST_F(FilePlacesTest, DataFolderByOptionThenBuildTreeThenUserData)
{
    const fs::path userData = m_folder / "home" / ".local" / "share" / kUserDataSubfolder;
    EXPECT_EQ(ChooseDataFolder(m_folder / "bin", {}, userData), userData);
    EXPECT_EQ(ChooseDataFolder(m_folder / "bin", m_folder / "mine", userData), m_folder / "mine");

    MarkBuildTree();
    EXPECT_TRUE(ChooseDataFolder(m_folder / "bin", {}, userData).empty());
    EXPECT_EQ(ChooseDataFolder(m_folder / "bin", m_folder / "mine", userData), m_folder / "mine");

    const fs::path current = fs::current_path();
    fs::current_path(m_folder);
    const fs::path relative = ChooseDataFolder(m_folder / "bin", "a/../b/", userData);
    fs::current_path(current);
    EXPECT_EQ(relative, m_folder / "b" / "");
}

TEST_F(FilePlacesTest, UserDataFolderFollowsTheXdgRules)
{
    {
        const ScopedEnv home("HOME", (m_folder / "home").c_str());
        const ScopedEnv xdg("XDG_DATA_HOME", nullptr);
        EXPECT_EQ(UserDataFolder(), m_folder / "home/.local/share/Ostrivane/Brisquel");
    }
    {
        const ScopedEnv home("HOME", (m_folder / "home").c_str());
        const ScopedEnv xdg("XDG_DATA_HOME", (m_folder / "data").c_str());
        EXPECT_EQ(UserDataFolder(), m_folder / "data/Ostrivane/Brisquel");
    }
    {
        // A relative XDG_DATA_HOME is invalid and ignored.
        const ScopedEnv home("HOME", (m_folder / "home").c_str());
        const ScopedEnv xdg("XDG_DATA_HOME", "data");
        EXPECT_EQ(UserDataFolder(), m_folder / "home/.local/share/Ostrivane/Brisquel");
    }
    {
        // Without HOME the password entry's home is used.
        const ScopedEnv home("HOME", nullptr);
        const ScopedEnv xdg("XDG_DATA_HOME", nullptr);
        const fs::path folder = UserDataFolder();
        EXPECT_TRUE(folder.is_absolute()) << folder;
        EXPECT_EQ(folder.filename(), "Brisquel");
    }
}

TEST_F(FilePlacesTest, PrepareFolderCreatesTheFolderAndLeavesNothingElse)
{
    const fs::path folder = m_folder / "a" / "b" / "c";
    EXPECT_EQ(PrepareFolder(folder), "");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_EQ(PrepareFolder(folder), "") << "an existing folder is fine";
}

TEST_F(FilePlacesTest, UnusableFoldersAreExplained)
{
    std::ofstream(m_folder / "file") << "x";
    const std::string under = PrepareFolder(m_folder / "file" / "sub");
    EXPECT_EQ(under.rfind("cannot create the folder " + (m_folder / "file" / "sub").string(), 0),
              0u)
        << under;
    const std::string itself = PrepareFolder(m_folder / "file");
    EXPECT_NE(itself.find((m_folder / "file").string()), std::string::npos) << itself;
    EXPECT_FALSE(PrepareFolder({}).empty());
}

TEST_F(FilePlacesTest, ReadOnlyFolderIsExplained)
{
    fs::create_directory(m_folder / "ro");
    testsupport::RunUnprivileged(m_folder, [&] {
        fs::permissions(m_folder / "ro", fs::perms::owner_read | fs::perms::owner_exec);
        const std::string problem = PrepareFolder(m_folder / "ro");
        EXPECT_EQ(problem.rfind("cannot write in the folder ", 0), 0u) << problem;
    });
}

TEST(RunningProgramFolderTest, IsTheFolderOfThisTestProgram)
{
    const fs::path folder = RunningProgramFolder();
    EXPECT_TRUE(fs::exists(folder / "places_tests")) << folder;
}
