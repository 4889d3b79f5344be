#include <gtest/gtest.h>

#include <fstream>

#include "check/ResultRow.h"
#include "store/Database.h"
#include "tests/support/SystemSupport.h"
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

// The bound on what an operator's statement may cost the engine, on a statement that would count for
// hours.
TEST_F(DatabaseTest, AReadingThatKeepsTheEngineBusyTooLongIsCancelledWithAMessage) {
    Database db(path, DatabaseKey);
    Query query(db);
    try {
        OpenSql(query,
                "with recursive c(x) as (select 1 union all select x + 1 from c where x < 10000000000) "
                "select count(*) from c");
        FAIL() << "the statement ran to its end";
    } catch (const QueryTooSlow& e) {
        EXPECT_STREQ(e.what(), QueryTooSlowMessage);
    }
    EXPECT_FALSE(query.isOpen());
    EXPECT_TRUE(OpenSql(query, "select count(*) from pictureMsg"));  // the connection goes on
}

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
    } catch (const DatabaseMissing& e) {
        EXPECT_EQ(std::string(e.what()),
                  "找不到数据库，程序将退出（无法打开数据库文件：unable to open database file " +
                      dir.file("nowhere/qob.trd") + ": " + test::missingFolderText() + "）");
    }
}

TEST_F(DatabaseTest, AFileThatIsNoDatabaseSaysSoAfterTheFixedMessage) {
    test::writeFile(dir.file("qob.trd"), std::string(4096, '\x5a'));
    try {
        openWorkDatabase(dir.path());
        FAIL();
    } catch (const DatabaseMissing& e) {
        EXPECT_EQ(std::string(e.what()),
                  "找不到数据库，程序将退出（数据库文件已损坏，或不是本程序的数据库：file is encrypted or is "
                  "not a database）");
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
    EXPECT_EQ(q.fetchAll(), 2u);
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
    EXPECT_NO_THROW(
        ExecSql(q, "update preParameters set PreSize=1,PreBlue=2,PreClarity=3,PreRegular=4,PreHead=5"));
    EXPECT_FALSE(OpenSql(q, "select * from preParameters"));
}

// Rows " row1 " to " rowN " in table order; every third one failed.
void fillRows(Database& db, int count) {
    db.execute("with recursive n(i) as (select 1 union all select i + 1 from n where i < " +
               std::to_string(count) +
               ") insert into pictureMsg (name, bluePercent, result) select ' row' || i || ' ', i, "
               "case when i % 3 = 0 then '不合格' else '合格' end from n");
}

TEST_F(DatabaseTest, ATableLargerThanAPageIsFetchedToItsLastRow) {
    Database db(path, DatabaseKey);
    fillRows(db, 250);
    Query q(db);
    ASSERT_TRUE(OpenSql(q, "select * from pictureMsg"));
    EXPECT_EQ(q.fetchedCount(), 1u);
    EXPECT_EQ(q.columnNames().size(), 13u);  // the row id is kept apart
    size_t pages = 0;
    while (q.canFetchMore()) {
        q.fetchMore(100);
        ++pages;
    }
    EXPECT_EQ(pages, 3u);
    EXPECT_EQ(q.fetchMore(100), 0u);
    ASSERT_EQ(q.fetchedCount(), 250u);
    EXPECT_EQ(q.text(249, "name"), " row250 ");
    EXPECT_EQ(q.text(249, "bluePercent"), "250");

    size_t visited = 0;
    q.forEachRow([&](const SqlRow& row) { visited += row.size() == 13u ? 1 : 0; });
    EXPECT_EQ(visited, 250u);
    EXPECT_EQ(q.fetchedCount(), 250u);
}

// A grid scrolling through a large result holds a bounded window of rows; the others come back as
// they were read, and a change by another program is said rather than shown half.
TEST_F(DatabaseTest, RowsLetGoOfAreReadAgainByTheirIdsAndAChangeElsewhereIsNoticed) {
    Database db(path, DatabaseKey);
    fillRows(db, 9000);
    db.execute("insert into pictureMsg (rowid, name, result) values (5000000000, ' far ', '合格')");
    Query q(db);
    ASSERT_TRUE(OpenSql(q, "select * from pictureMsg where Result='合格' "));  // rows 1, 2, 4, 5, 7, ...
    q.keepRow(0);
    db.execute("update pictureMsg set name = ' edited ' where rowid = 2");  // this connection's own write
    EXPECT_EQ(q.fetchAll(), 6001u);
    EXPECT_LE(q.heldCount(), Query::HeldRows + 1);
    EXPECT_EQ(q.text(5999, "name"), " row8999 ");
    EXPECT_EQ(q.text(0, "name"), " row1 ");
    EXPECT_EQ(q.text(1, "name"), " edited ");
    EXPECT_EQ(q.text(2, "name"), " row4 ");
    EXPECT_EQ(q.rowId(2), 4);
    q.removeFetchedRow(1);
    EXPECT_EQ(q.text(1, "name"), " row4 ");
    EXPECT_EQ(q.text(5998, "name"), " row8999 ");
    EXPECT_EQ(q.text(5999, "name"), " far ");
    EXPECT_LE(q.heldCount(), Query::HeldRows + 1);

    Database(path, DatabaseKey).execute("delete from pictureMsg");
    EXPECT_THROW(q.text(3000, "name"), RowsChangedElsewhere);
    EXPECT_EQ(q.text(0, "name"), " row1 ");  // kept
}

TEST_F(DatabaseTest, OnlySelectStarStatementsCarryRowIdsAndTheirResultIsUnchanged) {
    Database db(path, DatabaseKey);
    fillRows(db, 3);
    Query q(db);
    ASSERT_TRUE(OpenSql(q, "select * from pictureMsg where Result='不合格' "));
    EXPECT_EQ(q.statement(), "select * from pictureMsg where Result='不合格' ");
    EXPECT_EQ(q.rowId(0), 3);
    EXPECT_EQ(q.columnNames().front(), "name");
    ASSERT_TRUE(OpenSql(q, "select name, result from pictureMsg"));
    EXPECT_FALSE(q.hasRowIds());
    EXPECT_EQ(q.columnNames(), (std::vector<std::string>{"name", "result"}));
    EXPECT_THROW(q.rowId(0), DatabaseError);
    db.execute("insert into preParameters (PreSize) values (30)");
    ASSERT_TRUE(OpenSql(q, "select * from pictureMsg, preParameters"));  // no one row id to name
    EXPECT_FALSE(q.hasRowIds());
    EXPECT_EQ(q.columnNames().size(), 18u);
    EXPECT_EQ(q.fetchAll(), 3u);
}

TEST_F(DatabaseTest, GoingThroughTheRowsNeverRunsAWritingStatementAgain) {
    Database db(path, DatabaseKey);
    Query q(db);
    EXPECT_FALSE(OpenSql(q, "insert into pictureMsg (name) values (' a ')"));
    EXPECT_THROW(q.forEachRow([](const SqlRow&) {}), DatabaseError);
    ASSERT_TRUE(OpenSql(q, "select count(*) from pictureMsg"));
    EXPECT_EQ(q.text(0, "count(*)"), "1");
}

TEST(TranslateSql, OnlyTheDeleteStarFormChanges) {
    EXPECT_EQ(translateSql("delete * from pictureMsg"), "delete from pictureMsg");
    EXPECT_EQ(translateSql("DELETE *FROM pictureMsg"), "DELETE FROM pictureMsg");
    EXPECT_EQ(translateSql("select * from pictureMsg"), "select * from pictureMsg");
    EXPECT_EQ(translateSql("insert into pictureMsg (name) values ( ' delete * from ' )"),
              "insert into pictureMsg (name) values ( ' delete * from ' )");
    EXPECT_EQ(translateQuerySql("SELECT *FROM picTureMsg where Name like '%*%'").sql,
              "SELECT rowid, * FROM picTureMsg where Name like '%*%'");
    EXPECT_FALSE(translateQuerySql("select count(*) from pictureMsg").rowIdFirst);
}

}  // namespace
}  // namespace photocheck
