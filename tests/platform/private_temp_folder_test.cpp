#include "platform/private_temp_folder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace quillon::platform {
namespace {

// Starts a child that makes its private folder (with a file in it), reports
// the folder's path through a pipe and then either exits or waits for a signal.
struct Child {
    pid_t pid = -1;
    std::string folder;
};

Child startChild(const std::string& tmpdir, bool waitForSignal) {
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    Child child;
    child.pid = fork();
    if (child.pid == 0) {
        close(fds[0]);
        setenv("TMPDIR", tmpdir.c_str(), 1);
        removeOnTermination();
        const std::string folder = privateTempFolder();
        test::writeFile(folder + "kfqintif.tmp", "page data");
        (void)!write(fds[1], folder.data(), folder.size());
        close(fds[1]);
        if (waitForSignal) pause();
        std::exit(0);
    }
    close(fds[1]);
    char buffer[4096];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0) child.folder.append(buffer, static_cast<std::size_t>(n));
    close(fds[0]);
    return child;
}

TEST(PrivateTempFolder, IsPrivateAndGoneAfterExit) {
    test::TempDir tmp;
    Child child = startChild(tmp.str(), false);
    int status = 0;
    waitpid(child.pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_FALSE(child.folder.empty());
    EXPECT_EQ(child.folder.rfind(tmp.str(), 0), 0u) << "made under $TMPDIR";
    EXPECT_FALSE(std::filesystem::exists(child.folder));
    EXPECT_TRUE(std::filesystem::is_empty(tmp.path()));
}

TEST(PrivateTempFolder, HasMode0700AndIsRemovedOnSigterm) {
    test::TempDir tmp;
    Child child = startChild(tmp.str(), true);
    ASSERT_FALSE(child.folder.empty());
    struct stat info {};
    ASSERT_EQ(stat(child.folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_TRUE(std::filesystem::exists(child.folder + "kfqintif.tmp"));

    kill(child.pid, SIGTERM);
    int status = 0;
    waitpid(child.pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the process still ends by the signal";
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    EXPECT_FALSE(std::filesystem::exists(child.folder));
}

TEST(PrivateTempFolder, RemovedOnSigint) {
    test::TempDir tmp;
    Child child = startChild(tmp.str(), true);
    kill(child.pid, SIGINT);
    int status = 0;
    waitpid(child.pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_FALSE(std::filesystem::exists(child.folder));
}

}  // namespace
}  // namespace quillon::platform
