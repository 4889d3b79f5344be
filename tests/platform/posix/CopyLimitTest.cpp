#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

struct CopyLimitTest : ::testing::Test {
    test::TempDir dir;
    std::string at(const std::string& relative) const { return dir.file(relative); }
};

// A disk that fills up halfway through a copy: the largest file this process may write is set below
// the photo's size, in a child process.
TEST_F(CopyLimitTest, ACopyThatFailsHalfwayLeavesNoHalfFileOnLinux) {
    test::writeFile(at("a.jpg"), std::string(200000, 'x'));
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);  // the write fails instead
        const rlimit largest{65536, 65536};
        setrlimit(RLIMIT_FSIZE, &largest);
        const CopyOutcome outcome = copyFileNoOverwrite(at("a.jpg"), at("b.jpg"));
        _exit(outcome.kind == CopyOutcome::Kind::Failed ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the copy was not reported as failed";
    EXPECT_FALSE(test::fileExists(at("b.jpg")));
}

}  // namespace
}  // namespace photocheck
