// Writes from a results grid that the table has moved on from: another run replaced the rows (their
// row ids given out again), another window deleted the row, one cell of several is refused, a column
// named almost like a real one.
#include <gtest/gtest.h>

#include <cstdio>

#include "batch/ResultsEdits.h"
#include "tests/batch/BatchTestSupport.h"

namespace photocheck {
namespace {

using Names = std::vector<std::string>;

// A grid on its own connection over the rows of a finished run, as a window shows them, and a second
// connection to the same database, as another window or "photocheck-cli batch" has it.
struct HostileResultsEditsTest : test::BatchFolderTest {
    std::unique_ptr<Database> window = std::make_unique<Database>(dir.file("qob.trd"), DatabaseKey);
    Query grid{*window};
    ResultsRun gridRun = 0;

    void SetUp() override {
        BatchFolderTest::SetUp();
        for (const char* name : {"a.txt", "b.txt", "c.txt"}) put(name);
        runBatch();
        gridRun = currentResultsRun(*window);
        ASSERT_TRUE(OpenSql(grid, "select * from pictureMsg"));
        ASSERT_EQ(grid.fetchAll(), 3u);
    }
    void runBatch() {
        RunBatch(adoPicMsg, options, {}, state);
        adoPicMsg.close();  // its result set would hold the table as the run left it
    }
    // name/reason of every row of the table.
    Names table() const {
        Names rows;
        for (const auto& row : test::tableRows(*db)) rows.push_back(row.at(0) + "/" + row.at(10));
        return rows;
    }
    template <typename Edit>
    std::string refusal(Edit edit) const {
        try {
            edit();
        } catch (const EditNotSaved& e) {
            return e.what();
        }
        return "written";
    }
};

TEST_F(HostileResultsEditsTest, AfterAnotherRunTheGridsEditsAndDeletionsAreRefusedAndTheNewRowsKept) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) std::remove(at(name).c_str());
    for (const char* name : {"x.txt", "y.txt", "z.txt"}) put(name);
    runBatch();  // the same row ids, now for x, y and z
    const Names replaced = table();
    ASSERT_EQ(replaced, (Names{" x /照片格式必须是JPG", " y /照片格式必须是JPG", " z /照片格式必须是JPG"}));

    EXPECT_EQ(refusal([&] {
                  updateResultRow(*window, gridRun, grid.rowId(1), {{"reason", "edited"}});
              }),
              "表格中的记录已被另一次批量检测替换，修改未能保存；表格将重新显示结果表中现在的记录");
    EXPECT_EQ(refusal([&] {
                  deleteResultRows(*window, gridRun, {grid.rowId(0), grid.rowId(2)});
              }),
              "表格中的记录已被另一次批量检测替换，记录未能删除；表格将重新显示结果表中现在的记录");
    EXPECT_EQ(table(), replaced);

    // Read again, the grid writes into the rows it shows.
    const ResultsRun now = currentResultsRun(*window);
    ASSERT_TRUE(OpenSql(grid, "select * from pictureMsg"));
    ASSERT_EQ(grid.fetchAll(), 3u);
    updateResultRow(*window, now, grid.rowId(1), {{"reason", "edited"}});
    EXPECT_EQ(table()[1], " y /edited");
}

TEST_F(HostileResultsEditsTest, ARowWithOneRefusedCellIsNotWrittenAtAll) {
    const Names before = table();
    EXPECT_EQ(
        refusal([&] {
            updateResultRow(*window, gridRun, grid.rowId(0), {{"reason", "first"}, {"bluePercent", "7a"}});
        }),
        "“7a”不是整数：蓝比只能填写整数，或者留空");
    window->execute(
        "create trigger refuse before update of result on pictureMsg begin select raise(abort, 'no'); end");
    EXPECT_EQ(refusal([&] {
                  updateResultRow(*window, gridRun, grid.rowId(0),
                                  {{"reason", "first"}, {"result", "合格"}, {"name", "last"}});
              }),
              "修改未能保存：no");
    EXPECT_EQ(table(), before);
}

TEST_F(HostileResultsEditsTest, AnEditOfARowAnotherWindowDeletedIsRefusedNotReportedSaved) {
    deleteResultRows(*db, currentResultsRun(*db), {grid.rowId(1)});
    EXPECT_EQ(refusal([&] {
                  updateResultRow(*window, gridRun, grid.rowId(1), {{"reason", "edited"}});
              }),
              "要修改的记录已不在结果表中，修改未能保存");
    EXPECT_EQ(table(), (Names{" a /照片格式必须是JPG", " c /照片格式必须是JPG"}));
}

TEST_F(HostileResultsEditsTest, AColumnIsFoundByItsWholeNameOnly) {
    const Names before = table();
    for (const char* column : {"res", "reasons", "Pic", "", "name;"})
        EXPECT_EQ(refusal([&] {
                      updateResultRow(*window, gridRun, grid.rowId(0), {{column, "edited"}});
                  }),
                  std::string("结果表中没有“") + column + "”这一列，无法修改");
    EXPECT_EQ(table(), before);
}

}  // namespace
}  // namespace photocheck
