#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "imaging/Jpeg.h"
#include "platform/FileSystem.h"
#include "platform/Files.h"
#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "platform/WorkFolderLock.h"
#include "tests/cli/CliSupport.h"
#include "tests/support/SystemSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using namespace clitest;
using test::native;
using test::TempDir;

// Text as it stands inside a JSON string: a Windows path's "\" is written "\\".
std::string jsonEscaped(const std::string& text) {
    const std::string quoted = nlohmann::json(text).dump();
    return quoted.substr(1, quoted.size() - 2);
}

Bitmap pattern(int width, int height) {
    return test::makeBitmap(width, height,
                            [=](int x, int y) { return makeColour(x % 256, y % 256, (x + y) % 256); });
}

std::string kbOf(const std::string& path) {
    return std::to_string(test::readFile(path).size() / 1024);
}

std::string toGbk(const std::string& utf8) {
    return utf8ToGbk(utf8);
}

struct CheckCommandTest : ::testing::Test {
    TempDir dir;
};

TEST_F(CheckCommandTest, PrintsOneJsonLinePerFileAndAnErrorLineForAnUnreadableFile) {
    writeJpeg(pattern(20, 30), dir.file("small.jpg"));
    test::writeFile(dir.file("abc.png"), "png");
    writeJpeg(pattern(390, 567), dir.file("full.JPG"), {.quality = 30});
    writeJpeg(pattern(20, 30), dir.file("cut.jpg"));
    test::resizeFile(dir.file("cut.jpg"), 100);
    const std::string d = dir.path();
    const std::string j = jsonEscaped(d);  // the folder as the JSON lines write it

    const CliResult r = runCli(
        {"check", "--size-kb", "100000", d + "small.jpg", d + "abc.png", d + "full.JPG", d + "cut.jpg"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.lines(),
              (Lines{"{\"file\":\"" + j +
                         "small.jpg\",\"insert\":\"insert into pictureMsg "
                         "(name,mode,pix,reason,result,folderPath) values "
                         "( ' small ' , ' jpg ' , ' 20*30 ' ,'照片像素必须是390*567' ,'不合格' , ' " +
                         j + " ' )\",\"verdict\":\"不合格\",\"log\":[]}",
                     "{\"file\":\"" + j +
                         "abc.png\",\"insert\":\"insert into pictureMsg (name,mode,reason,result,folderPath) "
                         "values ( ' "
                         "abc ' , ' png ' ,'照片格式必须是JPG' ,'不合格' , ' " +
                         j + " ' )\",\"verdict\":\"不合格\",\"log\":[]}",
                     "{\"file\":\"" + j +
                         "full.JPG\",\"insert\":\"insert into pictureMsg "
                         "(name,mode,pix,Picsize,reason,result,folderPath) "
                         "values ( ' full ' , ' JPG ' , ' 390*567 ' ," +
                         kbOf(d + "full.JPG") + ",'文件小于30KB','不合格' , ' " + j +
                         " ' )\",\"verdict\":\"不合格\",\"log\":[]}",
                     "{\"file\":\"" + j +
                         "cut.jpg\",\"error\":\"照片文件无法读取（JPEG datastream contains no image）\"}"}));
}

TEST_F(CheckCommandTest, AllFilesJudgedGivesStatusZeroAndRelativePathsStayAsGiven) {
    test::writeFile(dir.file("it's.txt"), "");
    const CliResult r = runCli({"check", dir.path() + "./it's.txt"});
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(r.lines().size(), 1u);
    const auto line = nlohmann::json::parse(r.lines()[0]);
    EXPECT_EQ(line["file"], dir.path() + "./it's.txt");
    EXPECT_EQ(line["insert"],
              "insert into pictureMsg (name,mode,reason,result,folderPath) values ( ' it''s ' , ' txt ' ,"
              "'照片格式必须是JPG' ,'不合格' , ' " +
                  dir.path() + "./ ' )");
}

TEST_F(CheckCommandTest, FileNamesThatAreNotUtf8StillGiveValidJson) {
    if (test::onWindows()) GTEST_SKIP() << "Windows file names are always Unicode";
    const std::string name = dir.file("bad\xff\xfe.txt");
    test::writeFile(name, "");
    const CliResult r = runCli({"check", name});
    ASSERT_EQ(r.lines().size(), 1u);
    const auto line = nlohmann::json::parse(r.lines()[0]);
    EXPECT_EQ(line["file"], dir.file("bad\xEF\xBF\xBD\xEF\xBF\xBD.txt"));
    EXPECT_EQ(line["verdict"], "不合格");
}

TEST_F(CheckCommandTest, ThresholdsComeFromTheParameterFileAndSingleOptionsWin) {
    writeJpeg(pattern(390, 567), dir.file("full.jpg"), {.quality = 30});
    test::writeFile(dir.file("set.ini"),
                    toGbk("[Parameters]\r\n文件最小大小(Kb)=100000\r\n5到10行蓝色比=0\r\n清晰度=0\r\n"
                          "端正比=0\r\n头部高度比=0\r\n"));
    const auto reasonOf = [&](std::vector<std::string> args) {
        args.insert(args.begin(), "check");
        args.push_back(dir.file("full.jpg"));
        const CliResult r = runCli(args);
        const auto line = nlohmann::json::parse(r.lines().at(0));
        return line.contains("error") ? std::string(line["error"]) : std::string(line["insert"]);
    };
    EXPECT_NE(reasonOf({"--params", dir.file("set.ini")}).find("'文件小于30KB'"), std::string::npos);
    // With the size check passed the photo goes on to the next stages: no size reason any more.
    EXPECT_EQ(reasonOf({"--params", dir.file("set.ini"), "--size-kb", "0"}).find("文件小于30KB"),
              std::string::npos);
}

TEST_F(CheckCommandTest, ABadParameterFileIsAnError) {
    test::writeFile(dir.file("set.ini"), toGbk("[Parameters]\r\n文件最小大小(Kb)=abc\r\n"));
    const CliResult bad = runCli({"check", "--params", dir.file("set.ini"), dir.file("x.txt")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err, "参数文件 " + dir.file("set.ini") +
                           " 中“文件最小大小(Kb)”的值不是整数（'abc' is not a valid integer value）\n");
    const CliResult missing = runCli({"check", "--params", dir.file("none.ini"), dir.file("x.txt")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              "无法读取参数文件 " + dir.file("none.ini") + "：" + test::missingFileText() + "\n");
}

TEST_F(CheckCommandTest, AFolderOrAPipeIsRefusedUnread) {
    createFolder(dir.file("folder.jpg"));
    // Opening a pipe would wait for a writer (Linux only: Windows has no pipes in folders).
    const bool pipe = test::makeNamedPipe(dir.file("pipe.jpg"));
    const CliResult r = runCli({"check", dir.file("folder.jpg"), dir.file("pipe.jpg")});
    EXPECT_EQ(r.status, 1);
    const std::string folderLine = "{\"file\":" + nlohmann::json(dir.file("folder.jpg")).dump() +
                                   ",\"error\":\"未检查：这是一个文件夹，不是文件\"}";
    if (pipe)
        EXPECT_EQ(r.lines(), (Lines{folderLine, "{\"file\":" + nlohmann::json(dir.file("pipe.jpg")).dump() +
                                                    ",\"error\":\"未检查：不是普通文件\"}"}));
    else
        EXPECT_EQ(r.lines().at(0), folderLine);
}

TEST_F(CheckCommandTest, OverlaysLeaveTheJsonLinesAsTheyAreAndComeOnePerJudgedFile) {
    const std::string d = dir.path();
    test::writeFile(d + "off-centre.jpg", test::readFile(sourceFolder() + "samples/off-centre.jpg"));
    test::writeFile(d + "abc.png", "png");
    writeJpeg(pattern(20, 30), d + "cut.jpg");
    test::resizeFile(d + "cut.jpg", 100);
    const std::vector<std::string> files = {sourceFolder() + "samples/off-centre.jpg", d + "abc.png",
                                            d + "cut.jpg", d + "off-centre.jpg"};
    std::vector<std::string> plain = {"check", "--size-kb", "30", "--blue", "90", "--clarity",
                                      "200",   "--regular", "90", "--head", "50"};
    plain.insert(plain.end(), files.begin(), files.end());
    std::vector<std::string> withOverlay = plain;
    withOverlay.insert(withOverlay.begin() + 1, {"--overlay", d + "overlays"});

    const CliResult without = runCli(plain);
    const CliResult with = runCli(withOverlay);
    EXPECT_EQ(with.out, without.out);
    EXPECT_EQ(with.status, 1);  // cut.jpg cannot be read, with or without overlays
    EXPECT_EQ(without.status, 1);
    EXPECT_EQ(with.err, "");
    // The second off-centre.jpg does not replace the first one's overlay; the unreadable file has none.
    std::vector<std::string> names;
    for (const char* name : {"off-centre.png", "off-centre-2.png", "abc.png", "cut.png"})
        if (test::fileExists(d + "overlays/" + name)) names.emplace_back(name);
    EXPECT_EQ(names, (Lines{"off-centre.png", "off-centre-2.png", "abc.png"}));
    EXPECT_EQ(test::readFile(d + "overlays/off-centre.png").substr(1, 3), "PNG");
}

// The parameter file of the source tree is UTF-8; read as the program reads it, it says so.
TEST_F(CheckCommandTest, AParameterFileInUtf8IsSaidNotToBeGbk) {
    const std::string utf8 = sourceFolder() + "data/SetParameters.utf8.ini";
    const CliResult r = runCli({"check", "--params", utf8, dir.file("x.txt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(
        r.err.substr(0, r.err.find('\n')),
        "读取配置文件出错!（" + utf8 +
            "：文件不是 GBK 编码（它看来是 UTF-8 的）：请把它存为 GBK，例如 iconv -f UTF-8 -t GBK 原文件 > "
            "新文件）");
}

// No file may grow, as on a full disk; the write fails instead of ending the program. Its messages go
// through a pipe, which any file may not.
TEST_F(CheckCommandTest, AnOverlayThatCannotBeWrittenIsReportedInTheOperatorsWordsAndNotLeftHalfWritten) {
    if (test::onWindows()) GTEST_SKIP() << "the file size limit is set by a POSIX shell";
    writeJpeg(pattern(20, 30), dir.file("a.jpg"));
    const std::string noFileGrows = "trap '' XFSZ; ulimit -f 0; exec ";
    const CliResult r = runCommand(
        "sh -c " +
        shellQuoted(noFileGrows + cliCommand({"check", "--overlay", dir.file("out"), dir.file("a.jpg")}) +
                    " 2>&1"));
    EXPECT_EQ(r.status, 1);
    const std::string message = "无法写入文件 " + dir.file("out/a.png") + "（文件太大：File too large）\n";
    ASSERT_GE(r.out.size(), message.size()) << r.out;
    EXPECT_EQ(r.out.substr(r.out.size() - message.size()), message);
    EXPECT_FALSE(test::fileExists(dir.file("out/a.png")));
}

TEST(CheckCommandHelp, ExplainsEveryOption) {
    const CliResult r = runCli({"check", "--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* option :
         {"--debug", "--pupils", "--params", "--size-kb", "--blue", "--clarity", "--regular", "--head",
          "--overlay", "\"insert\"", "\"verdict\"", "\"log\"", "\"error\""})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

TEST(BatchCommandHelp, ExplainsEveryOption) {
    const CliResult r = runCli({"batch", "--help"});
    EXPECT_EQ(r.status, 0);
    for (const char* option : {"--pupils", "--verdict", "--csv", "--report", "--work-folder", "-j"})
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
}

struct BatchCommandTest : BatchFoldersTest {
    void SetUp() override {
        BatchFoldersTest::SetUp();
        if (!IsSkipped()) createFolders(photos + native("/sub"));
    }
};

TEST_F(BatchCommandTest, RunsTheFolderAndLeavesRowsCopiesAndWorkingFiles) {
    test::writeFile(photos + "/notes.txt", "notes");
    writeJpeg(pattern(20, 30), photos + "/sub/small.jpg");
    const CliResult r =
        runCli({"batch", photos, "--work-folder", work, "--csv", dir.file("rows.csv"), "-j", "2"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.lines(), (Lines{"此文件夹照片一共有 2 张", "。。。。。。。。。。。。。。。已检测照片1张",
                                "。。。。。。。。。。。。。。。已检测照片2张",
                                "照片合格率=0%   其中合格数=0  ,  不合格数=2"}));
    EXPECT_EQ(test::readFile(dir.file("不合格照片/notes.txt")), "notes");
    EXPECT_TRUE(test::fileExists(dir.file("不合格照片/small.jpg")));
    EXPECT_TRUE(test::fileExists(work + "/qob.trd"));
    EXPECT_TRUE(test::fileExists(work + "/SetParameters.ini"));
    EXPECT_EQ(test::readFile(dir.file("rows.csv")),
              "\xEF\xBB\xBF"
              "name,mode,pix,Picsize,bluePercent,clarityPercent,headPercent,regularPercent,eyeLeftlet,"
              "eyeRightlet,reason,result,folderPath\r\n"
              "notes,txt,,,,,,,,,照片格式必须是JPG,不合格," +
                  photos + native("/") + "\r\nsmall,jpg,20*30,,,,,,,,照片像素必须是390*567,不合格," + photos +
                  native("/sub/") + "\r\n");
}

TEST_F(BatchCommandTest, TheReportShowsTheFailedPhotoWithWhatFailedIt) {
    test::writeFile(photos + "/glasses.jpg", test::readFile(sourceFolder() + "samples/glasses.jpg"));
    test::writeFile(photos + "/sub/pass-a.jpg", test::readFile(sourceFolder() + "samples/pass-a.jpg"));
    const CliResult r = runCli({"batch", photos, "--work-folder", work, "--report", dir.file("run.html")});
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_FALSE(r.lines().empty());
    EXPECT_EQ(r.lines().back(), "检测报告：" + dir.file("run.html"));
    const std::string page = test::readFile(dir.file("run.html"));
    EXPECT_NE(page.find("<span class=\"name\">glasses.jpg</span>"), std::string::npos);
    EXPECT_NE(page.find("<span class=\"measure\">eye band 36&gt;35</span>"), std::string::npos);
    EXPECT_EQ(page.find("pass-a.jpg"), std::string::npos);
}

TEST_F(BatchCommandTest, ShowResultsListsTheGridAfterTheSummaryInColumns) {
    test::writeFile(photos + "/notes.txt", "notes");
    writeJpeg(pattern(20, 30), photos + "/sub/文件.jpg");
    const CliResult r = runCli({"batch", photos, "--work-folder", work, "--show-results"});
    EXPECT_EQ(r.status, 0) << r.err;
    const Lines lines = r.lines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[3], "照片合格率=0%   其中合格数=0  ,  不合格数=2");
    // Two-column characters count twice: every verdict starts at the same terminal column.
    EXPECT_EQ(lines[4], "文件名  结果    原因");
    EXPECT_EQ(lines[5], "notes   不合格  照片格式必须是JPG");
    EXPECT_EQ(lines[6], "文件    不合格  照片像素必须是390*567");
}

// The window stores the folder the dialog gives, absolute and clean: the rows are the same.
TEST_F(BatchCommandTest, ARelativeFolderIsStoredAbsoluteAndCleanAsTheWindowStoresIt) {
    test::writeFile(photos + "/sub/notes.txt", "notes");
    const CliResult r =
        runCli({"batch", "./photos/./sub/..//", "--work-folder", work, "--csv", "rows.csv"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(test::readFile(dir.file("rows.csv")).find(",不合格," + photos + native("/sub/") + "\r\n"),
              std::string::npos);
    EXPECT_TRUE(test::fileExists(dir.file("不合格照片/notes.txt")));
}

// One missing working file brings all four back from the package, as the help says.
TEST_F(BatchCommandTest, OneMissingWorkingFileReinstallsAllFourAndTheHelpSaysSo) {
    ASSERT_EQ(runCli({"batch", photos, "--work-folder", work}).status, 0);
    const std::string installed = test::readFile(work + "/SetParameters.ini");
    test::writeFile(work + "/SetParameters.ini", toGbk("[Parameters]\r\n文件最小大小(Kb)=12\r\n"));
    ASSERT_EQ(0, std::remove((work + "/readme.doc").c_str()));
    ASSERT_EQ(runCli({"batch", photos, "--work-folder", work}).status, 0);
    EXPECT_EQ(test::readFile(work + "/SetParameters.ini"), installed);

    const std::string help = runCli({"batch", "--help"}).out;
    EXPECT_EQ(help.find("已有的保留"), std::string::npos);
    EXPECT_NE(help.find("缺少任何一个时，四个都从本程序旁边的数据包 xl.oef "
                        "重新安装：上次检测的各行和改过的参数文件也被替换"),
              std::string::npos)
        << help;
}

// A command that only reads never installs: the last run's rows and an edited parameter file stay.
TEST_F(BatchCommandTest, TheQueryOnIncompleteWorkingFilesSaysSoAndLeavesEverythingAsItIs) {
    test::writeFile(photos + "/notes.txt", "notes");
    ASSERT_EQ(runCli({"batch", photos, "--work-folder", work}).status, 0);
    const std::string edited = toGbk("[Parameters]\r\n文件最小大小(Kb)=12\r\n");
    test::writeFile(work + "/SetParameters.ini", edited);
    ASSERT_EQ(0, std::remove((work + "/readme.doc").c_str()));
    const std::string rows = test::readFile(work + "/qob.trd");

    const CliResult r = runCli({"query", "--work-folder", work});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "工作文件夹 " + work + native("/") +
                         " 中缺少工作文件 readme.doc，查询只读取，不会安装或改动任何文件：请先用窗口程序或 "
                         "photocheck-cli batch 做一次检测，它们会安装工作文件\n");
    EXPECT_EQ(test::readFile(work + "/SetParameters.ini"), edited);
    EXPECT_EQ(test::readFile(work + "/qob.trd"), rows);
    EXPECT_FALSE(test::fileExists(work + "/readme.doc"));

    const CliResult none = runCli({"query", "--work-folder", dir.file("none")});
    EXPECT_EQ(none.status, 1);
    EXPECT_FALSE(test::fileExists(dir.file("none")));
}

TEST_F(BatchCommandTest, TheVerdictFilterChoosesTheRowsOfTheCsv) {
    test::writeFile(photos + "/notes.txt", "notes");
    const CliResult r =
        runCli({"batch", photos, "--work-folder", work, "--verdict", "合格", "--csv", dir.file("p.csv")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::readFile(dir.file("p.csv")),
              "\xEF\xBB\xBF"
              "name,mode,pix,Picsize,bluePercent,clarityPercent,headPercent,regularPercent,eyeLeftlet,"
              "eyeRightlet,reason,result,folderPath\r\n");
}

TEST_F(BatchCommandTest, ARefusedRunExitsWithItsMessage) {
    createFolders(dir.file("合格照片"));
    test::writeFile(dir.file("合格照片/keep.jpg"), "keep");
    const CliResult inside = runCli({"batch", dir.file("合格照片"), "--work-folder", work});
    EXPECT_EQ(inside.status, 1);
    EXPECT_EQ(inside.err,
              "照片文件夹不能是“合格照片”或“不合格照片”文件夹，也不能位于其中，请选择其他文件夹\n");
    EXPECT_TRUE(test::fileExists(dir.file("合格照片/keep.jpg")));

    const CliResult none = runCli({"batch", "", "--work-folder", work});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.err, "请选择照片路径的文件夹！！\n");
}

// The lock is the system's: a run in another process (here the test's own) keeps the command out
// until it ends, and the refused command touches none of the last run's results.
TEST_F(BatchCommandTest, AWorkingFolderLockedByAnotherProcessRefusesTheRunAndKeepsTheLastResults) {
    test::writeFile(photos + "/notes.txt", "notes");
    ASSERT_EQ(runCli({"batch", photos, "--work-folder", work}).status, 0);
    test::writeFile(photos + "/later.txt", "later");
    {
        const WorkFolderLock otherRun(withFinalSeparator(work));
        const CliResult refused = runCli({"batch", photos, "--work-folder", work});
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.err, workFolderBusyMessage(withFinalSeparator(work)) + "\n");
        EXPECT_TRUE(test::fileExists(dir.file("不合格照片/notes.txt")));
        EXPECT_FALSE(test::fileExists(dir.file("不合格照片/later.txt")));
    }
    EXPECT_EQ(runCli({"batch", photos, "--work-folder", work}).status, 0);
    EXPECT_TRUE(test::fileExists(dir.file("不合格照片/later.txt")));
}

TEST_F(BatchCommandTest, ACsvFileThatCannotBeWrittenStopsTheCommandBeforeTheRun) {
    test::writeFile(photos + "/notes.txt", "notes");
    ASSERT_EQ(runCli({"batch", photos, "--work-folder", work}).status, 0);
    test::writeFile(photos + "/later.txt", "later");
    const CliResult r = runCli({"batch", photos, "--work-folder", work, "--csv", dir.file("none/rows.csv")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "无法写入 CSV 文件 " + dir.file("none/rows.csv") + "（文件或文件夹不存在：" +
                         test::missingFolderText() + "）\n");
    EXPECT_TRUE(test::fileExists(dir.file("不合格照片/notes.txt")));
    EXPECT_FALSE(test::fileExists(dir.file("不合格照片/later.txt")));
}

TEST_F(BatchCommandTest, AMissingCopyIsReportedAndTheStatusIsTwo) {
    test::writeFile(photos + "/notes.txt", "notes");
    createFolders(dir.file("不合格照片/notes.txt"));
    const CliResult r = runCli({"batch", photos, "--work-folder", work});
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(r.lines().back(), "注意：有 1 张照片未能复制到结果文件夹，原因见上面的记录");
}

TEST_F(BatchCommandTest, ABadThresholdIsShownAndTheRunGoesOn) {
    test::writeFile(photos + "/notes.txt", "notes");
    ASSERT_EQ(runCli({"batch", photos, "--work-folder", work}).status, 0);
    test::writeFile(work + "/SetParameters.ini", toGbk("[Parameters]\r\n文件最小大小(Kb)=12x\r\n"));
    const CliResult r = runCli({"batch", photos, "--work-folder", work});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "参数文件 " + work + native("/SetParameters.ini") +
                         " 中“文件最小大小(Kb)”的值不是整数（'12x' is not a "
                         "valid integer value）\n");
    EXPECT_EQ(r.lines().back(), "照片合格率=0%   其中合格数=0  ,  不合格数=1");
}

TEST_F(BatchCommandTest, ControlCharactersShowEscapedInTheTableAndBadBytesAsReplacementsInTheCsv) {
    if (test::onWindows())
        GTEST_SKIP() << "Windows file names hold no control characters and are always Unicode";
    const std::string name = "a\x1B[31mred\rx\xFF";
    test::writeFile(photos + "/" + name + ".txt", "x");
    const CliResult r =
        runCli({"batch", photos, "--work-folder", work, "--show-results", "--csv", dir.file("rows.csv")});
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(r.lines().size(), 5u);
    EXPECT_EQ(r.lines()[4], "a\\x1B[31mred\\rx\xEF\xBF\xBD  不合格  照片格式必须是JPG");
    EXPECT_NE(test::readFile(dir.file("rows.csv")).find("\r\n\"a\x1B[31mred\rx\xEF\xBF\xBD\",txt,"),
              std::string::npos);
    const CliResult json = runCli({"query", "--work-folder", work, "--json"});
    EXPECT_EQ(json.status, 0) << json.err;
    ASSERT_EQ(json.lines().size(), 1u);
    EXPECT_EQ(nlohmann::json::parse(json.lines()[0])["name"], "a\x1B[31mred\rx\xEF\xBF\xBD");
}

TEST_F(BatchCommandTest, TheQueryShowsTheRowsOfTheLastRunThroughTheWindowsFilter) {
    test::writeFile(photos + "/notes.txt", "notes");
    test::writeFile(photos + "/photo 2023.txt", "x");
    ASSERT_EQ(runCli({"batch", photos, "--work-folder", work}).status, 0);
    // The verdict box starts at 全部, which shows every row whatever name is typed.
    EXPECT_EQ(runCli({"query", "--work-folder", work, "--name", "2023"}).lines().size(), 3u);
    const CliResult named = runCli({"query", "--work-folder", work, "--verdict", "", "--name", "2023"});
    EXPECT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(named.lines(), (Lines{"文件名      结果    原因", "photo 2023  不合格  照片格式必须是JPG"}));
    const CliResult none = runCli({"query", "--work-folder", work, "--verdict", "maybe"});
    EXPECT_EQ(none.lines(), (Lines{"文件名  结果  原因"}));
}

// Both commands write their CSV alike: an existing file is replaced only by a complete one.
TEST_F(BatchCommandTest, ACommandThatFailsLeavesAnExistingCsvFileAsItWas) {
    test::writeFile(dir.file("keep.csv"), "keep");
    test::writeFile(dir.file("shared"), "");  // a working folder that is refused: it is a file
    for (const char* command : {"query", "batch"}) {
        std::vector<std::string> args = {command, "--work-folder", dir.file("shared"), "--csv",
                                         dir.file("keep.csv")};
        if (args[0] == "batch") args.push_back(photos);
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_EQ(test::readFile(dir.file("keep.csv")), "keep") << command;
    }

    test::writeFile(photos + "/notes.txt", "notes");
    ASSERT_EQ(runCli({"batch", photos, "--work-folder", work}).status, 0);
    const CliResult r = runCli({"query", "--work-folder", work, "--csv", dir.file("keep.csv")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::readFile(dir.file("keep.csv")).substr(0, 7), "\xEF\xBB\xBFname");
    for (const auto& entry : std::filesystem::directory_iterator(nativePath(dir.path()))) {
        const std::string name = utf8Path(entry.path().filename());
        EXPECT_EQ(name.find("keep.csv."), std::string::npos) << "the hidden file is left over: " << name;
    }
}

TEST(QueryCommand, PrintsTheStatementsTheWindowOpens) {
    const auto sql = [](std::vector<std::string> args) {
        args.insert(args.begin(), {"query", "--sql"});
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        return r.out;
    };
    EXPECT_EQ(sql({"--verdict", "合格"}), "select * from pictureMsg where  Result= '合格' \n");
    EXPECT_EQ(sql({"--verdict", "不合格", "--name", "2023"}),
              "select * from pictureMsg where Name like '%2023%'\n");
    EXPECT_EQ(sql({"--blue", "20-80", "--verdict", "合格"}),
              "select * from pictureMsg where bluePercent between 20 and 80 and Result='合格' \n");
    EXPECT_EQ(sql({"--name", "2023"}), "select * from pictureMsg\n");
}

TEST(QueryCommand, WhereTheWindowShowsAMessageThatMessageEndsTheCommand) {
    const CliResult half = runCli({"query", "--sql", "--head", "20-"});
    EXPECT_EQ(half.status, 1);
    EXPECT_EQ(half.out, "");
    EXPECT_EQ(half.err, "选写的筛选范围不能为空，必须在0～100之间\n");
    const CliResult high = runCli({"query", "--regular", "0-101", "--work-folder", "/nonexistent"});
    EXPECT_EQ(high.status, 1);
    EXPECT_EQ(high.err, " 端正比筛选范围必须在0～100之间\n");
}

TEST(BatchCommandDatabase, ADatabaseThatDoesNotOpenEndsTheProgram) {
    const TempDir dir;
    for (const char* name : {"readme.doc", "versions.doc", "SetParameters.ini"})
        test::writeFile(dir.file(name), "");
    test::writeFile(dir.file("qob.trd"), "not a database");
    const CliResult r = runCli({"batch", dir.path(), "--work-folder", dir.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("找不到数据库，程序将退出（数据库文件已损坏，或不是本程序的数据库：file is "
                         "encrypted or is not a database）\n"),
              std::string::npos)
        << r.err;
}

TEST(BatchCommandUsage, UsageErrorsExitWithOneAndSayWhatIsWrong) {
    const CliResult verdict = runCli({"batch", "photos", "--verdict", "all"});
    EXPECT_EQ(verdict.status, 1);
    EXPECT_EQ(verdict.err,
              "参数值不在允许的范围内（--verdict: all not in {全部,合格,不合格}）。用 --help 查看用法。\n");
    const CliResult folder = runCli({"batch"});
    EXPECT_EQ(folder.status, 1);
    EXPECT_EQ(folder.err, "缺少必需的参数（FOLDER is required）。用 --help 查看用法。\n");
}

}  // namespace
}  // namespace photocheck
