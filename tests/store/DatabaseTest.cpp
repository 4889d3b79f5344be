#include <gtest/gtest.h>

#include <fstream>

#include "check/ResultRow.h"
#include "store/Database.h"
#include "tests/support/TestSupport.h"

#ifndef PHOTOCHECK_SCHEMA
#error "PHOTOCHECK_SCHEMA must name data/schema.sql"
#endif

namespace photocheck {
namespace {

using test::TempDir;

void createSchema(const std::string& path, const std::string& key = DatabaseKey) {
    Database db = Database::create(path, key);
    db.execute(test::readFile(PHOTOCHECK_SCHEMA));
}

struct DatabaseTest : ::testing::Test {
    TempDir dir;
    std::string path = dir.file(DatabaseFileName);
    void SetUp() override { createSchema(path); }
};

TEST_F(DatabaseTest, NewFileIsEncrypted) {
    const std::string head = test::readFile(path).substr(0, 16);
    EXPECT_NE(head, std::string("SQLite format 3\0", 16));
}

TEST_F(DatabaseTest, OpensWithTheRightKeyOnly) {
    EXPECT_NO_THROW(Database(path, DatabaseKey));
    EXPECT_THROW(Database(path, "wrongkey"), DatabaseError);
}

TEST_F(DatabaseTest, MissingFileIsNotCreated) {
    EXPECT_THROW(Database(dir.file("none.trd"), DatabaseKey), DatabaseError);
    EXPECT_FALSE(test::fileExists(dir.file("none.trd")));
    try {
        openWorkDatabase(dir.file("nowhere/"));
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_EQ(std::string(e.what()), "找不到数据库，程序将退出（unable to open database file " +
                                             dir.file("nowhere/qob.trd") + ": No such file or directory）");
    }
}

TEST_F(DatabaseTest, AFileThatIsNoDatabaseSaysSoAfterTheFixedMessage) {
    test::writeFile(dir.file("qob.trd"), std::string(4096, '\x5a'));
    try {
        openWorkDatabase(dir.path());
        FAIL();
    } catch (const DatabaseError& e) {
        EXPECT_EQ(std::string(e.what()), "找不到数据库，程序将退出（file is encrypted or is not a database）");
    }
}

TEST_F(DatabaseTest, OpenSqlReportsRowsAndDeleteStarEmptiesTheTable) {
    Database db(path, DatabaseKey);
    Query q(db);
    EXPECT_FALSE(OpenSql(q, "select * from pictureMsg"));
    EXPECT_TRUE(q.isOpen());
    EXPECT_EQ(q.columnNames().size(), 13u);

    ResultRow row;
    row.beginWithName("abc");
    row.addText("mode", "png");
    row.fail("照片格式必须是JPG", ResultRow::Blank::After);
    row.addVerdict(false);
    row.addText("folderPath", "D:\\photos\\");
    ExecSql(q, row.insertStatement());
    EXPECT_FALSE(q.isOpen());

    ASSERT_TRUE(OpenSql(q, "select * from picTureMsg"));
    EXPECT_EQ(q.text(0, "name"), " abc ");
    EXPECT_EQ(q.text(0, "Mode"), " png ");
    EXPECT_EQ(q.text(0, "reason"), "照片格式必须是JPG");
    EXPECT_EQ(q.text(0, "result"), "不合格");
    EXPECT_EQ(q.text(0, "folderPath"), " D:\\photos\\ ");
    EXPECT_TRUE(std::holds_alternative<std::monostate>(q.value(0, "pix")));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(q.value(0, "Picsize")));

    EXPECT_TRUE(OpenSql(q, "select * from pictureMsg where Result='不合格' "));
    EXPECT_FALSE(OpenSql(q, "select * from pictureMsg where  Result= '合格' "));
    EXPECT_TRUE(OpenSql(q, "select * from pictureMsg where Name like '%ab%'"));

    ExecSql(q, "delete * from pictureMsg");
    EXPECT_FALSE(OpenSql(q, "select * from pictureMsg"));
}

TEST_F(DatabaseTest, BetweenIncludesBothBoundsAndSkipsNull) {
    Database db(path, DatabaseKey);
    Query q(db);
    ExecSql(q, "insert into pictureMsg (name,bluePercent) values ( ' a ' ,0)");
    ExecSql(q, "insert into pictureMsg (name,bluePercent) values ( ' b ' ,100)");
    ExecSql(q, "insert into pictureMsg (name) values ( ' c ' )");
    ASSERT_TRUE(OpenSql(q, "select * from pictureMsg where bluePercent between 0 and 100"));
    EXPECT_EQ(q.rows().size(), 2u);
    EXPECT_FALSE(OpenSql(q, "select * from pictureMsg where bluePercent between 80 and 20"));
}

TEST_F(DatabaseTest, EngineErrorsReachTheCaller) {
    Database db(path, DatabaseKey);
    Query q(db);
    EXPECT_THROW(ExecSql(q, "insert into pictureMsg (name) values ( ' O'Brien ' )"), DatabaseError);
    EXPECT_THROW(q.value(0, "name"), std::exception);  // the failed statement closed the result set
}

TEST_F(DatabaseTest, UpdateWithoutWhereOnAnEmptyTableIsNoError) {
    Database db(path, DatabaseKey);
    Query q(db);
    EXPECT_NO_THROW(ExecSql(q, "update preParameters set PreSize=1,PreBlue=2,PreClarity=3,PreRegular=4,PreHead=5"));
    EXPECT_FALSE(OpenSql(q, "select * from preParameters"));
}

TEST(TranslateSql, OnlyTheDeleteStarFormChanges) {
    EXPECT_EQ(translateSql("delete * from pictureMsg"), "delete from pictureMsg");
    EXPECT_EQ(translateSql("DELETE *FROM pictureMsg"), "DELETE FROM pictureMsg");
    EXPECT_EQ(translateSql("select * from pictureMsg"), "select * from pictureMsg");
    EXPECT_EQ(translateSql("insert into pictureMsg (name) values ( ' delete * from ' )"),
              "insert into pictureMsg (name) values ( ' delete * from ' )");
}

}  // namespace
}  // namespace photocheck
