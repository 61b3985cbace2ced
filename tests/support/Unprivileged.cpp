#include "tests/support/Unprivileged.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace testsupport {

namespace {

int FailedParts()
{
    const testing::TestResult *result =
        testing::UnitTest::GetInstance()->current_test_info()->result();
    int failed = 0;
    for (int i = 0; i < result->total_part_count(); ++i)
        failed += result->GetTestPartResult(i).failed() ? 1 : 0;
    return failed;
}

void HandOver(const fs::path &folder, uid_t uid, gid_t gid)
{
    std::error_code error;
    ASSERT_EQ(::lchown(folder.c_str(), uid, gid), 0) << folder << ": " << std::strerror(errno);
    for (auto it = fs::recursive_directory_iterator(folder, error);
         it != fs::recursive_directory_iterator(); it.increment(error))
        ASSERT_EQ(::lchown(it->path().c_str(), uid, gid), 0) << it->path();
}

} // namespace

void RunUnprivileged(const fs::path &folder, const std::function<void()> &body)
{
    if (::geteuid() != 0) {
        body();
        return;
    }
    const passwd *nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr) << "no user \"nobody\" to run as";
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    HandOver(folder, uid, gid);
    if (testing::Test::HasFatalFailure())
        return;

    const int failedBefore = FailedParts();
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0) << std::strerror(errno);
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) {
            std::fprintf(stderr, "cannot become the user nobody: %s\n", std::strerror(errno));
            std::_Exit(2);
        }
        if (::access(folder.c_str(), R_OK | W_OK | X_OK) != 0) {
            std::fprintf(stderr, "the user nobody cannot reach %s: %s\n", folder.c_str(),
                         std::strerror(errno));
            std::_Exit(2);
        }
        body();
        const int failed = FailedParts() - failedBefore;
        std::fflush(nullptr);
        std::_Exit(failed == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    HandOver(folder, 0, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the part run as the user nobody failed (its messages are above), status " << status;
}

} // namespace testsupport
