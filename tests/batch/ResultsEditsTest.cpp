#include <gtest/gtest.h>

#include "batch/ResultsEdits.h"
#include "check/ResultRow.h"
#include "tests/batch/BatchTestSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// A results table of five rows as the run writes them, a, c and e passed, b and d failed; the grid shows
// the failed ones.
struct ResultsEditsTest : ::testing::Test {
    test::TempDir dir;
    std::unique_ptr<Database> db = test::createTestDatabase(dir.file("qob.trd"));
    Query grid{*db};
    ResultsRun run = 0;

    void SetUp() override {
        for (const char* name : {"a", "b", "c", "d", "e"}) {
            ResultRow row;
            row.beginWithName(name);
            row.addNumber("bluePercent", 50);
            row.addVerdict(name[0] % 2 == 1);
            ExecSql(grid, row.insertStatement());
        }
        run = currentResultsRun(*db);
        ASSERT_TRUE(OpenSql(grid, "select * from pictureMsg where Result='不合格'"));
        ASSERT_EQ(grid.fetchAll(), 2u);
    }
    std::string nameAndBlue(const std::vector<std::string>& row) const { return row[0] + "/" + row[4]; }
    std::vector<std::string> table() const {
        std::vector<std::string> rows;
        for (const auto& row : test::tableRows(*db)) rows.push_back(nameAndBlue(row));
        return rows;
    }
};

using Names = std::vector<std::string>;

TEST_F(ResultsEditsTest, TheRowIdOfAFetchedRowAddressesItsRowInTheTable) {
    EXPECT_EQ(grid.text(1, "name"), " d ");
    EXPECT_EQ(updateResultRow(*db, run, grid.rowId(1), {{"BluePercent", " 42 "}, {"name", "  new name "}}),
              (std::vector<SqlValue>{int64_t{42}, std::string(" new name ")}));
    EXPECT_EQ(updateResultRow(*db, run, grid.rowId(0), {{"bluePercent", ""}}),
              std::vector<SqlValue>{SqlValue{}});
    EXPECT_EQ(table(), (Names{" a /50", " b /NULL", " c /50", " new name /42", " e /50"}));
}

TEST_F(ResultsEditsTest, TwoRowsAreDeletedByTheirIdsWhileTheGridIsOpen) {
    Query other(*db);
    ASSERT_TRUE(OpenSql(other, "select * from pictureMsg"));  // a result set still being read
    EXPECT_EQ(deleteResultRows(*db, run, {grid.rowId(0), grid.rowId(1)}), 2u);
    EXPECT_EQ(table(), (Names{" a /50", " c /50", " e /50"}));
    EXPECT_EQ(deleteResultRows(*db, run, {grid.rowId(0)}), 0u);
    EXPECT_GE(other.fetchAll(), 1u);
}

TEST_F(ResultsEditsTest, AnEditTheEngineOrTheColumnRefusesRaisesAndLeavesTheTableAsItWas) {
    db->execute(
        "create trigger refuse before update on pictureMsg begin select raise(abort, 'refused here'); end;"
        "create trigger keep before delete on pictureMsg when old.name = ' d ' begin "
        "select raise(abort, 'kept'); end;");
    const auto messageOf = [](auto edit) {
        try {
            edit();
        } catch (const EditNotSaved& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageOf([&] {
                  updateResultRow(*db, run, grid.rowId(0), {{"bluePercent", "7"}});
              }),
              "修改未能保存：refused here");
    EXPECT_EQ(messageOf([&] {
                  updateResultRow(*db, run, grid.rowId(0), {{"bluePercent", "7x"}});
              }),
              "“7x”不是整数：蓝比只能填写整数，或者留空");
    EXPECT_EQ(messageOf([&] {
                  updateResultRow(*db, run, grid.rowId(0), {{"rowid", "7"}});
              }),
              "结果表中没有“rowid”这一列，无法修改");
    EXPECT_EQ(messageOf([&] {
                  deleteResultRows(*db, run, {grid.rowId(0), grid.rowId(1)});
              }),
              "记录未能删除：kept");
    EXPECT_EQ(table(), (Names{" a /50", " b /50", " c /50", " d /50", " e /50"}));
}

}  // namespace
}  // namespace photocheck
