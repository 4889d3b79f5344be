#include <gtest/gtest.h>

#include "tests/batch/BatchTestSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

// A batch writes one row per photo; with the write-ahead log a row costs no wait for the disk.
TEST(WorkDatabase, OpensWithTheWriteAheadLog) {
    test::TempDir dir;
    const std::string path = dir.file("qob.trd");
    test::createTestDatabase(path);
    Database db(path, DatabaseKey);
    Query q(db);
    ASSERT_TRUE(OpenSql(q, "PRAGMA journal_mode"));
    EXPECT_EQ(q.text(0, "journal_mode"), "wal");
}

}  // namespace
}  // namespace photocheck
