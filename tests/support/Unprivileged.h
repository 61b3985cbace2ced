#pragma once
// Root writes into read-only files and folders, so what a user without that right meets can only
// be seen as another user. Under root, RunUnprivileged runs `body` in a child process switched
// to the user "nobody", after handing `folder` (and everything in it) to that user; the child's
// failed assertions are printed there and fail the test here. As any other user it simply
// runs `body`.

#include <filesystem>
#include <functional>

namespace testsupport {

void RunUnprivileged(const std::filesystem::path &folder, const std::function<void()> &body);

} // namespace testsupport
