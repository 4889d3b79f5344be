#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "batch/BatchRun.h"
#include "platform/WorkFolderLock.h"
#include "tests/batch/BatchTestSupport.h"

namespace photocheck {
namespace {

using KilledLockHolderTest = test::BatchFolderTest;

// The kernel drops the lock with the process that held it, however it ends.
TEST_F(KilledLockHolderTest, AForkedHolderThatIsKilledLeavesNoLockBehindOnLinux) {
    put("a.txt");
    put("b.txt");
    options.workFolder = dir.path();
    int ready[2];
    ASSERT_EQ(0, pipe(ready));
    const pid_t child = fork();
    if (child == 0) {
        const WorkFolderLock held(dir.path());
        if (write(ready[1], "x", 1) != 1) _exit(2);
        raise(SIGKILL);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    int status = 0;
    waitpid(child, &status, 0);
    close(ready[0]);
    close(ready[1]);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(RunBatch(adoPicMsg, options, {}, state).total, 2);
}

}  // namespace
}  // namespace photocheck
