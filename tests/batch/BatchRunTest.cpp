#include <gtest/gtest.h>

#include "batch/BatchRun.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/WorkFolderLock.h"
#include "tests/batch/BatchTestSupport.h"
#include "tests/support/SystemSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using Lines = std::vector<std::string>;
using Rows = std::vector<std::vector<std::string>>;

// Everything a run shows, one entry per event, in order.
struct Recorder {
    Lines events;
    BatchEvents hooks() {
        BatchEvents e;
        e.onCleared = [this] { events.push_back("cleared"); };
        e.onLogLine = [this](const std::string& line) { events.push_back("log " + line); };
        e.onProgressStart = [this](int total) { events.push_back("progress 0/" + std::to_string(total)); };
        e.onPhotoDone = [this](int processed, const std::string& line) {
            events.push_back("done " + std::to_string(processed) + " " + line);
        };
        e.onCounts = [this](int passed, int failed) {
            events.push_back("counts " + std::to_string(passed) + " " + std::to_string(failed));
        };
        return e;
    }
};

// A row of pictureMsg as the checks of a file that fails the format check leave it.
std::vector<std::string> formatFailedRow(const std::string& name, const std::string& mode,
                                         const std::string& folder) {
    return {" " + name + " ",
            " " + mode + " ",
            "NULL",
            "NULL",
            "NULL",
            "NULL",
            "NULL",
            "NULL",
            "NULL",
            "NULL",
            "照片格式必须是JPG",
            "不合格",
            " " + folder + " "};
}

struct BatchRunTest : test::BatchFolderTest {
    Recorder recorder;

    void SetUp() override {
        BatchFolderTest::SetUp();
        options.checks.params.ParamFileSizeKb = 100000;  // no photo gets past the file check
    }
    BatchSummary run() {
        recorder.events.clear();
        return RunBatch(adoPicMsg, options, recorder.hooks(), state);
    }
    Rows rows() { return test::tableRows(*db); }
    std::string message(const std::function<void()>& action) {
        try {
            action();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "(no error)";
    }
};

TEST_F(BatchRunTest, ThreeFilesGiveThreeRowsAndEveryFileIsCopied) {
    test::writeSmallJpeg(at("a.jpg"));
    test::writeSmallJpeg(at("b.JPG"));
    put("notes.txt");
    const BatchSummary summary = run();

    EXPECT_EQ(summary.total, 3);
    EXPECT_EQ(summary.failed, 3);
    const Rows table = rows();
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0], (std::vector<std::string>{" a ", " jpg ", " 20*30 ", "NULL", "NULL", "NULL", "NULL",
                                                  "NULL", "NULL", "NULL", "照片像素必须是390*567", "不合格",
                                                  " " + photos + test::native("/ ")}));
    EXPECT_EQ(table[1][0], " b ");
    EXPECT_EQ(table[1][1], " JPG ");
    EXPECT_EQ(table[2], formatFailedRow("notes", "txt", withFinalSeparator(photos)));
    EXPECT_EQ(test::namesIn(failed), (Lines{"a.jpg", "b.JPG", "notes.txt"}));
    EXPECT_TRUE(test::namesIn(passed).empty());
    EXPECT_EQ(test::readFile(failed + "/notes.txt"), "x");
    EXPECT_TRUE(test::fileExists(at("notes.txt")));
}

TEST_F(BatchRunTest, TheRunShowsCountProgressCountsAndSummaryInOrder) {
    put("a.txt");
    put("b.txt");
    run();
    EXPECT_EQ(recorder.events, (Lines{"cleared", "log 此文件夹照片一共有 2 张", "progress 0/2",
                                      "done 1 。。。。。。。。。。。。。。。已检测照片1张",
                                      "done 2 。。。。。。。。。。。。。。。已检测照片2张", "counts 0 2",
                                      "log 照片合格率=0%   其中合格数=0  ,  不合格数=2"}));
    EXPECT_TRUE(state.PreviewEnabled);
}

TEST_F(BatchRunTest, FilesInSubfoldersKeepTheirFolderAndAreCopiedFlat) {
    test::makeFolders(at("sub/deeper"));
    put("x.txt");
    put("sub/y.txt");
    put("sub/deeper/z.txt");
    run();
    EXPECT_EQ(rows(), (Rows{formatFailedRow("z", "txt", photos + test::native("/sub/deeper/")),
                            formatFailedRow("y", "txt", photos + test::native("/sub/")),
                            formatFailedRow("x", "txt", withFinalSeparator(photos))}));
    EXPECT_EQ(test::namesIn(failed), (Lines{"x.txt", "y.txt", "z.txt"}));
}

TEST_F(BatchRunTest, NamesAreCutBeforeTheLastFullStopOrBlank) {
    for (const char* name : {"photo", "my photo.jpg", "a.b.jpg", "my photo"}) put(name);
    run();
    Lines names;
    for (const auto& row : rows()) names.push_back(row[0]);
    // Walk order: A.B.JPG, MY PHOTO, MY PHOTO.JPG, PHOTO.
    EXPECT_EQ(names, (Lines{" a.b ", " my ", " my photo ", "  "}));
}

TEST_F(BatchRunTest, TwoFilesOfOneNameGiveTwoRowsAndOneCopy) {
    test::makeFolders(at("one"));
    test::makeFolders(at("two"));
    put("one/same.txt", "first");
    put("two/same.txt", "second");
    EXPECT_EQ(run().missingCopies, 0);  // the second copy is left out as intended, silently
    EXPECT_EQ(recorder.events.size(), 7u);
    const Rows table = rows();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0][12], " " + photos + test::native("/one/ "));
    EXPECT_EQ(table[1][12], " " + photos + test::native("/two/ "));
    EXPECT_EQ(test::namesIn(failed), (Lines{"same.txt"}));
    EXPECT_EQ(test::readFile(failed + "/same.txt"), "first");
}

TEST_F(BatchRunTest, HiddenFilesAreCheckedLikeAnyOther) {
    put(".hidden.jpg", "not a jpeg");
    put(".profile");
    run();
    const Rows table = rows();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[0][0], " .hidden ");
    EXPECT_EQ(table[1][0], "  ");
    EXPECT_EQ(table[1][1], " profile ");
    EXPECT_EQ(test::namesIn(failed), (Lines{".hidden.jpg", ".profile"}));
}

TEST_F(BatchRunTest, ASecondRunReplacesRowsAndCopies) {
    put("a.txt");
    put("b.txt");
    run();
    ASSERT_EQ(rows().size(), 2u);
    ASSERT_TRUE(removeFile(at("b.txt")));
    put("c.txt");
    test::makeFolders(failed + "/old");
    test::writeFile(failed + "/old/stray.jpg", "stray");
    test::writeFile(passed + "/other.jpg", "other");

    run();
    EXPECT_EQ(rows(), (Rows{formatFailedRow("a", "txt", withFinalSeparator(photos)),
                            formatFailedRow("c", "txt", withFinalSeparator(photos))}));
    EXPECT_EQ(test::namesIn(failed), (Lines{"a.txt", "c.txt", "old"}));
    EXPECT_TRUE(test::namesIn(failed + "/old").empty());
    EXPECT_TRUE(test::namesIn(passed).empty());
}

TEST_F(BatchRunTest, AnEmptyTreeEmptiesTheTableAndShowsZeroes) {
    test::makeFolders(at("empty/below"));
    ExecSql(adoPicMsg, "insert into pictureMsg (name) values ( ' earlier ' )");
    const BatchSummary summary = run();
    EXPECT_EQ(summary.total, 0);
    EXPECT_EQ(summary.passRate, 0);
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(recorder.events, (Lines{"cleared", "log 此文件夹照片一共有 0 张", "progress 0/0", "counts 0 0",
                                      "log 照片合格率=0%   其中合格数=0  ,  不合格数=0"}));
}

TEST_F(BatchRunTest, ResultFoldersInsideTheFolderAreEmptiedBeforeTheWalk) {
    // A root holds its own result folders.
    options.resultFolders =
        ResultFolders{photos + test::native("/合格照片"), photos + test::native("/不合格照片")};
    test::makeFolders(photos + test::native("/合格照片"));
    test::writeFile(photos + test::native("/合格照片/old.jpg"), "old");
    put("a.txt");
    const BatchSummary summary = run();
    EXPECT_EQ(summary.total, 1);
    EXPECT_EQ(rows(), (Rows{formatFailedRow("a", "txt", withFinalSeparator(photos))}));
    EXPECT_TRUE(test::namesIn(photos + test::native("/合格照片")).empty());
    EXPECT_EQ(test::namesIn(photos + test::native("/不合格照片")), (Lines{"a.txt"}));
}

// A typing error must not cost the results of the last run.
TEST_F(BatchRunTest, AMissingFolderOrAFileIsRefusedBeforeAnythingIsTouched) {
    put("a.txt");
    run();
    ASSERT_EQ(test::namesIn(failed), (Lines{"a.txt"}));
    options.photoFolder = dir.file("photoss");
    EXPECT_EQ(message([&] { run(); }), "照片文件夹 " + options.photoFolder +
                                           " 不存在或无法访问，请选择其他文件夹（文件或文件夹不存在：" +
                                           test::missingFileText() + "）");
    options.photoFolder = at("a.txt");
    EXPECT_EQ(message([&] { run(); }), "所选的 " + at("a.txt") + " 不是文件夹，请选择照片所在的文件夹");
    EXPECT_EQ(rows().size(), 1u);
    EXPECT_EQ(test::namesIn(failed), (Lines{"a.txt"}));
    EXPECT_EQ(test::namesIn(photos), (Lines{"a.txt"}));
    EXPECT_EQ(recorder.events, (Lines{"cleared"}));
    EXPECT_TRUE(state.PreviewEnabled);  // given back as it was before the run was asked for
}

// A close while the run prepares must not wait for the whole preparation.
TEST_F(BatchRunTest, AStopDuringThePreparationEndsItBeforeTheFolderWalk) {
    put("a.txt");
    put("b.txt");
    run();
    bool emptying = false;
    BatchEvents events = recorder.hooks();
    events.onPreparing = [&emptying](const std::string& step) {
        emptying = step == EmptyingResultFoldersStep;
    };
    options.stopRequested = [&emptying] { return emptying; };  // asked for as the emptying starts
    recorder.events.clear();
    const BatchSummary summary = RunBatch(adoPicMsg, options, events, state);
    EXPECT_TRUE(summary.stopped);
    EXPECT_EQ(summary.total, 0);
    EXPECT_EQ(test::namesIn(failed), (Lines{"a.txt", "b.txt"}));  // the old copies not reached stay
    EXPECT_EQ(rows().size(), 2u);                                 // and so do the last run's rows
    EXPECT_EQ(recorder.events, (Lines{"cleared"}));
}

TEST_F(BatchRunTest, NoChosenFolderIsRefusedAfterTheLogIsCleared) {
    options.photoFolder.clear();
    EXPECT_THROW(run(), BatchRefused);
    EXPECT_EQ(message([&] { run(); }), "请选择照片路径的文件夹！！");
    EXPECT_EQ(recorder.events, (Lines{"cleared"}));
    EXPECT_FALSE(state.PreviewEnabled);
}

TEST_F(BatchRunTest, DebugModeIsRefusedBeforeAnythingElse) {
    options.checks.cbDebug = true;
    state.PreviewEnabled = false;
    EXPECT_EQ(message([&] { run(); }), "请退出调试模式");
    EXPECT_TRUE(recorder.events.empty());
    EXPECT_TRUE(state.PreviewEnabled);
    EXPECT_FALSE(folderExists(failed));
}

TEST_F(BatchRunTest, AResultFolderAsPhotoFolderIsRefusedBeforeAnythingIsDeleted) {
    put("a.txt");
    run();
    options.photoFolder = failed;
    EXPECT_THROW(run(), BatchRefused);
    EXPECT_EQ(test::namesIn(failed), (Lines{"a.txt"}));
    EXPECT_EQ(rows().size(), 1u);

    const std::string link = dir.file("link");
    if (!test::makeLink(passed, link)) GTEST_SKIP() << "no link can be made here";
    test::writeFile(passed + "/kept.jpg", "kept");
    options.photoFolder = link;
    EXPECT_EQ(message([&] { run(); }),
              "照片文件夹不能是“合格照片”或“不合格照片”文件夹，也不能位于其中，请选择其他文件夹");
    EXPECT_EQ(test::namesIn(passed), (Lines{"kept.jpg"}));
}

TEST_F(BatchRunTest, UnreadableFilesFailWithTheirOwnReasonAndTheRunGoesOn) {
    test::writeFile(at("a fake.jpg"), "not a jpeg");
    test::writeSmallJpeg(at("b cut.jpg"));
    test::resizeFile(at("b cut.jpg"), 100);
    const test::UnreadableFile gone(at("c gone.jpg"));
    put("d.txt");
    const BatchSummary summary = run();

    EXPECT_EQ(summary.total, 4);
    EXPECT_EQ(summary.failed, 4);
    const Rows table = rows();
    ASSERT_EQ(table.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(table[i][1], " jpg ");
        EXPECT_EQ(table[i][2], "NULL");
        EXPECT_EQ(table[i][10], "照片文件无法读取");
        EXPECT_EQ(table[i][11], "不合格");
    }
    EXPECT_EQ(table[3], formatFailedRow("d", "txt", withFinalSeparator(photos)));
    EXPECT_EQ(test::namesIn(failed), (Lines{"a fake.jpg", "b cut.jpg", "d.txt"}));

    // The link that leads nowhere cannot be copied either, and the operator is told so.
    EXPECT_EQ(summary.missingCopies, 1);
    ASSERT_EQ(recorder.events.size(), 14u);
    EXPECT_EQ(recorder.events[3],
              "log 照片文件无法读取：" + at("a fake.jpg") + "（Not a JPEG file: starts with 0x6e 0x6f）");
    EXPECT_EQ(recorder.events[4], "done 1 。。。。。。。。。。。。。。。已检测照片1张");
    EXPECT_EQ(recorder.events[5].rfind("log 照片文件无法读取：" + at("b cut.jpg") + "（", 0), 0u);
    EXPECT_EQ(recorder.events[7].rfind("log 照片文件无法读取：" + at("c gone.jpg") + "（", 0), 0u);
    EXPECT_NE(recorder.events[7].find(test::UnreadableFile::explanation()), std::string::npos)
        << recorder.events[7];
    EXPECT_EQ(recorder.events[8], "log 照片未能复制到“不合格照片”：" + at("c gone.jpg") +
                                      "，无法读取原文件（" + test::UnreadableFile::reason() + "）");
    EXPECT_EQ(recorder.events[12], "log 照片合格率=0%   其中合格数=0  ,  不合格数=4");
    EXPECT_EQ(recorder.events[13], "log 注意：有 1 张照片未能复制到结果文件夹，原因见上面的记录");
}

TEST_F(BatchRunTest, ADatabaseErrorEndsTheRunAndKeepsTheRowsWrittenBefore) {
    db->execute(
        "create trigger refuse before insert on pictureMsg when new.name like '%boom%' "
        "begin select raise(abort, 'boom refused'); end;");
    put("a.txt");
    put("b boom.txt");
    put("c.txt");
    EXPECT_EQ(message([&] { run(); }), "boom refused");
    EXPECT_EQ(rows(), (Rows{formatFailedRow("a", "txt", withFinalSeparator(photos))}));
    EXPECT_EQ(test::namesIn(failed), (Lines{"a.txt", "b boom.txt"}));
    EXPECT_EQ(recorder.events.back(), "done 1 。。。。。。。。。。。。。。。已检测照片1张");
    EXPECT_FALSE(state.PreviewEnabled);
}

TEST_F(BatchRunTest, ApostrophesInNamesGiveValidStatements) {
    options.photoFolder = dir.file("o'neil");
    test::makeFolders(options.photoFolder);
    test::writeFile(options.photoFolder + "/it's.txt", "x");
    run();
    EXPECT_EQ(rows(), (Rows{formatFailedRow("it's", "txt", withFinalSeparator(options.photoFolder))}));
}

TEST_F(BatchRunTest, TheResultsAreReopenedWithTheVerdictFilter) {
    put("a.txt");
    put("b.txt");
    options.verdictFilter = "不合格";
    run();
    EXPECT_EQ(adoPicMsg.fetchAll(), 2u);
    options.verdictFilter = "合格";
    run();
    EXPECT_TRUE(adoPicMsg.isOpen());
    EXPECT_EQ(adoPicMsg.fetchAll(), 0u);
    options.verdictFilter = "全部";
    run();
    EXPECT_EQ(adoPicMsg.fetchAll(), 2u);
    EXPECT_EQ(adoPicMsg.columnNames().size(), 13u);
}

TEST_F(BatchRunTest, ACopyThatCannotBeMadeIsLoggedAndCountedAndItsRowStays) {
    put("a.txt");
    put("b.txt");
    run();
    ASSERT_TRUE(removeFile(failed + "/b.txt"));
    test::makeFolders(failed + "/b.txt");  // left from elsewhere, where the copy of b.txt belongs
    const BatchSummary summary = run();
    EXPECT_EQ(summary.missingCopies, 1);
    EXPECT_EQ(summary.failed, 2);
    EXPECT_EQ(rows(), (Rows{formatFailedRow("a", "txt", withFinalSeparator(photos)),
                            formatFailedRow("b", "txt", withFinalSeparator(photos))}));
    EXPECT_EQ(test::readFile(failed + "/a.txt"), "x");
    EXPECT_EQ(recorder.events, (Lines{"cleared", "log 此文件夹照片一共有 2 张", "progress 0/2",
                                      "done 1 。。。。。。。。。。。。。。。已检测照片1张",
                                      "log 照片未能复制到“不合格照片”：" + at("b.txt") +
                                          "，结果文件夹中已有同名的文件或文件夹，不是本次检测复制的",
                                      "done 2 。。。。。。。。。。。。。。。已检测照片2张", "counts 0 2",
                                      "log 照片合格率=0%   其中合格数=0  ,  不合格数=2",
                                      "log 注意：有 1 张照片未能复制到结果文件夹，原因见上面的记录"}));
}

TEST_F(BatchRunTest, ATableThatCannotBeReadOrWrittenIsRefusedBeforeTheResultFoldersAreEmptied) {
    put("a.txt");
    run();
    db->execute("PRAGMA query_only = 1");  // as a read-only database file
    EXPECT_EQ(message([&] { run(); }),
              "数据库中的表 pictureMsg 无法读写，检测没有开始，什么也没有改动（attempt to write a readonly "
              "database）");
    EXPECT_EQ(test::namesIn(failed), (Lines{"a.txt"}));
    db->execute("PRAGMA query_only = 0; drop table pictureMsg");
    EXPECT_EQ(message([&] { run(); }),
              "数据库中的表 pictureMsg 无法读写，检测没有开始，什么也没有改动（no such table: pictureMsg）");
    EXPECT_EQ(test::namesIn(failed), (Lines{"a.txt"}));
}

TEST_F(BatchRunTest, ASecondRunOnTheWorkingFolderIsRefusedUntilTheFirstEndsOrDies) {
    put("a.txt");
    put("b.txt");
    run();
    options.workFolder = dir.path();
    const std::string busy =
        "另一个检测正在使用工作文件夹 " + dir.path() + "，不能同时开始第二个；请等它结束后再开始";
    {
        const WorkFolderLock other(dir.path());
        EXPECT_EQ(message([&] { run(); }), busy);
        EXPECT_EQ(rows().size(), 2u);
        EXPECT_EQ(test::namesIn(failed), (Lines{"a.txt", "b.txt"}));
    }

    // The run holds the lock while it works, and gives it back at its end.
    std::vector<std::string> seen;
    BatchEvents events;
    events.onPhotoDone = [&](int, const std::string&) {
        try {
            const WorkFolderLock probe(dir.path());
            seen.emplace_back("free");
        } catch (const WorkFolderBusy& e) {
            seen.emplace_back(e.what());
        }
    };
    RunBatch(adoPicMsg, options, events, state);
    EXPECT_EQ(seen, (Lines{busy, busy}));
}

// The committed sample photos, judged with the package's thresholds: three pass, five fail.
TEST_F(BatchRunTest, AFolderOfPassingAndFailingPhotosGivesBothCountsTheRateAndBothFolders) {
    const std::string samples = std::string(PHOTOCHECK_SOURCE_DIR) + "/samples/";
    const Lines passing = {"pass-a.jpg", "pass-b.jpg", "pass-c.jpg"};
    const Lines failing = {"blurred.jpg", "format-jpeg.jpeg", "glasses.jpg", "grey-wall.jpg",
                           "small-file.jpg"};
    for (const Lines* names : {&passing, &failing})
        for (const std::string& name : *names) test::writeFile(at(name), test::readFile(samples + name));
    options.checks.params = test::packageThresholds();
    options.threads = 2;

    const BatchSummary summary = run();
    EXPECT_EQ(summary.passed, 3);
    EXPECT_EQ(summary.failed, 5);
    EXPECT_EQ(summary.passRate, 38);  // 37.5 rounds up
    EXPECT_EQ(recorder.events[recorder.events.size() - 2], "counts 3 5");
    EXPECT_EQ(recorder.events.back(), "log 照片合格率=38%   其中合格数=3  ,  不合格数=5");
    EXPECT_EQ(test::namesIn(passed), passing);
    EXPECT_EQ(test::namesIn(failed), failing);
    EXPECT_EQ(test::readFile(passed + "/pass-b.jpg"), test::readFile(samples + "pass-b.jpg"));
    Lines verdicts;
    for (const auto& row : rows()) verdicts.push_back(row[0] + row[11]);
    EXPECT_EQ(verdicts,
              (Lines{" blurred 不合格", " format-jpeg 不合格", " glasses 不合格", " grey-wall 不合格",
                     " pass-a 合格", " pass-b 合格", " pass-c 合格", " small-file 不合格"}));
}

TEST_F(BatchRunTest, AVerdictFilterWithAQuoteReopensTheResultsWithoutAnError) {
    put("a.txt");
    options.verdictFilter = "不合格' or '1'='1";
    EXPECT_EQ(run().failed, 1);
    EXPECT_TRUE(adoPicMsg.isOpen());
    EXPECT_FALSE(adoPicMsg.hasRow());
}

TEST(ResultsStatement, AllRowsOrTheRowsOfOneTrimmedVerdict) {
    EXPECT_EQ(resultsStatement("全部"), "select * from pictureMsg");
    EXPECT_EQ(resultsStatement(" 合格 "), "select * from pictureMsg where Result='合格'");
    EXPECT_EQ(resultsStatement(""), "select * from pictureMsg where Result=''");
}

// A tree with every kind of file the file check meets.
// True when it holds a dangling link too (where links can be made).
bool buildMixedTree(const std::string& root) {
    for (int i = 0; i < 6; ++i) {
        const std::string folder = root + "/f" + std::to_string(i % 3) + (i >= 3 ? "/inner" : "");
        test::makeFolders(folder);
        test::writeSmallJpeg(folder + "/small" + std::to_string(i) + ".jpg", 20 + i, 30);
        test::writePhotoSizedJpeg(folder + "/full" + std::to_string(i) + ".JPG", i);
        test::writeFile(folder + "/notes.txt", "notes " + std::to_string(i));
        test::writeFile(folder + "/fake" + std::to_string(i) + ".jpg", "fake");
        test::writeFile(folder + "/.hidden " + std::to_string(i), "");
    }
    return test::makeLink(root + "/none.jpg", root + "/gone.jpg");
}

struct RunRecord {
    Rows rows;
    Lines events;
    std::vector<std::pair<std::string, std::string>> copies;
};

TEST_F(BatchRunTest, FourThreadsGiveExactlyWhatOneThreadGives) {
    const bool dangling = buildMixedTree(photos);
    options.checks.params = {};
    options.checks.params.ParamClarity = 1000000;  // the photo-sized pictures go through every stage
    auto record = [&](int threads) {
        options.threads = threads;
        run();
        RunRecord r{rows(), recorder.events, {}};
        for (const std::string& folder : {passed, failed})
            for (const std::string& name : test::namesIn(folder))
                r.copies.emplace_back(folder + "/" + name, test::readFile(folder + "/" + name));
        return r;
    };
    const RunRecord one = record(1);
    const RunRecord four = record(4);
    ASSERT_EQ(one.rows.size(), dangling ? 31u : 30u);
    EXPECT_EQ(one.rows, four.rows);
    EXPECT_EQ(one.events, four.events);
    EXPECT_EQ(one.copies, four.copies);
    EXPECT_EQ(one.copies.size(), 25u);  // one notes.txt, no copy of the dangling link
}

}  // namespace
}  // namespace photocheck
