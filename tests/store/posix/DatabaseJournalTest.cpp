#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "store/Database.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

struct DatabaseJournalTest : ::testing::Test {
    test::TempDir dir;
    std::string path = dir.file(DatabaseFileName);
    void SetUp() override { Database::create(path, DatabaseKey).execute(test::readFile(PHOTOCHECK_SCHEMA)); }
};

// After the database was read-only for a while the engine's journal files stay read-only, and the
// database would not open again once it is writable. As a user who is not the superuser (who may write
// any file), in a child process; the exit code says how far it got.
TEST_F(DatabaseJournalTest, JournalFilesLeftReadOnlyAreRemovedAndTheDatabaseOpens) {
    constexpr uid_t Nobody = 65534;
    { Database wal(path, DatabaseKey); }
    if (geteuid() == 0) {
        for (const std::string& p : {dir.path(), path}) ASSERT_EQ(0, chown(p.c_str(), Nobody, Nobody));
    }
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(Nobody) != 0 || setuid(Nobody) != 0)) _exit(10);
        chmod(path.c_str(), 0444);
        try {
            Database readOnly(path, DatabaseKey);
        } catch (const std::exception&) {
        }
        if (access((path + "-shm").c_str(), W_OK) == 0) _exit(11);  // nothing stale to repair
        chmod(path.c_str(), 0644);
        try {
            const Database opened(path, DatabaseKey);
            _exit(12);  // it opens without any repair
        } catch (const std::exception&) {
        }
        try {
            openWorkDatabaseRepairing(dir.path())->execute("insert into pictureMsg (name) values (' x ')");
            _exit(0);
        } catch (const std::exception&) {
            _exit(1);
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "1: not repaired, 10: no user, 11: nothing read-only, 12: no failure";
}

}  // namespace
}  // namespace photocheck
