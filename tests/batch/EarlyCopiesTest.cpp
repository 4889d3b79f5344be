#include <gtest/gtest.h>

#include "batch/BatchRun.h"
#include "batch/EarlyCopies.h"
#include "tests/batch/BatchTestSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using Lines = std::vector<std::string>;

TEST(EarlyCopiesTest, OnlyNamesNoOtherFileHasAreCopiedEarly) {
    const FileList paths =
        FileList::of({"/p/a/x.jpg", "/p/b/X.JPG", "/p/a/y.jpg", "/p/c/z.jpg", "/p/d/z.jpg"});
    const ResultFolders folders{"/p/passed", "/p/failed"};
    const EarlyCopies early(paths, folders);
    EXPECT_FALSE(early.copiesEarly(0));  // x.jpg and X.JPG are one name on Windows
    EXPECT_FALSE(early.copiesEarly(1));
    EXPECT_TRUE(early.copiesEarly(2));
    EXPECT_FALSE(early.copiesEarly(3));
    EXPECT_FALSE(early.copiesEarly(4));
}

// Runs over plain files that all fail the format check, on two threads.
struct TwoThreadRunTest : test::BatchFolderTest {
    void SetUp() override {
        BatchFolderTest::SetUp();
        options.threads = 2;
    }
};

TEST_F(TwoThreadRunTest, ARunEndedByTheDatabaseKeepsNoCopyOfTheFilesAfterIt) {
    db->execute(
        "create trigger refuse before insert on pictureMsg when new.name like '%boom%' "
        "begin select raise(abort, 'boom refused'); end;");
    put("a.txt");
    put("b boom.txt");
    for (const char* later : {"c.txt", "d.txt", "e.txt", "f.txt", "g.txt", "h.txt"}) put(later);
    EXPECT_THROW(RunBatch(adoPicMsg, options, {}, state), DatabaseError);
    EXPECT_EQ(test::namesIn(failed), (Lines{"a.txt", "b boom.txt"}));
    EXPECT_EQ(test::tableRows(*db).size(), 1u);
}

TEST_F(TwoThreadRunTest, OfTwoFilesOfOneNameTheFirstInTheListIsCopied) {
    test::makeFolders(photos + "/one");
    test::makeFolders(photos + "/two");
    for (const char* name : {"one/a.txt", "one/b.txt", "one/c.txt", "one/d.txt"}) put(name);
    put("one/same.txt", "first");
    put("two/same.txt", "second");
    const BatchSummary summary = RunBatch(adoPicMsg, options, {}, state);
    EXPECT_EQ(summary.total, 6);
    EXPECT_EQ(test::namesIn(failed), (Lines{"a.txt", "b.txt", "c.txt", "d.txt", "same.txt"}));
    EXPECT_EQ(test::readFile(failed + "/same.txt"), "first");
}

TEST_F(TwoThreadRunTest, AStoppedRunKeepsTheRowsWrittenAndNoCopyBeyondThem) {
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt", "f.txt", "g.txt", "h.txt"})
        put(name);
    int stored = 0;
    BatchEvents events;
    events.onPhotoDone = [&stored](int processed, const std::string&) { stored = processed; };
    options.stopRequested = [&stored] { return stored >= 3; };
    const BatchSummary summary = RunBatch(adoPicMsg, options, events, state);
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(summary.failed, 3);
    EXPECT_EQ(test::tableRows(*db).size(), 3u);
    EXPECT_EQ(test::namesIn(failed), (Lines{"a.txt", "b.txt", "c.txt"}));
    EXPECT_FALSE(state.PreviewEnabled);
}

TEST_F(TwoThreadRunTest, AStopJustBeforeTheLastPhotoIsAStoppedRunNotACompletedOne) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) put(name);
    int stored = 0;
    options.stopRequested = [&stored] { return stored == 2; };
    std::vector<std::string> lines;
    BatchEvents events;
    events.onLogLine = [&lines](const std::string& line) { lines.push_back(line); };
    events.onPhotoDone = [&stored](int processed, const std::string&) { stored = processed; };
    const BatchSummary summary = RunBatch(adoPicMsg, options, events, state);
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(test::tableRows(*db).size(), 2u);
    EXPECT_EQ(test::namesIn(failed), (Lines{"a.txt", "b.txt"}));
    EXPECT_EQ(lines, (Lines{"此文件夹照片一共有 3 张"}));  // no pass rate: the run did not complete
    EXPECT_FALSE(state.PreviewEnabled);
}

}  // namespace
}  // namespace photocheck
