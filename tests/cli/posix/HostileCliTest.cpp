// The command line given paths that would make it destroy or expose what it should not: an overlay
// folder holding the photo and links, output files inside the photo folder or on the database, names
// that would drive the terminal or a spreadsheet.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "tests/cli/CliSupport.h"
#include "tests/support/SystemSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using namespace clitest;

struct HostileCliTest : BatchFoldersTest {
    void SetUp() override {
        BatchFoldersTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_EQ(0, mkdir(photos.c_str(), 0700));
    }
    void putSample(const std::string& sample, const std::string& target) const {
        test::writeFile(target, test::readFile(sourceFolder() + "samples/" + sample));
    }
};

TEST_F(HostileCliTest, AnOverlayNeverReplacesAFileNorWritesThroughALink) {
    putSample("glasses.jpg", photos + "/photo.jpg");
    test::writeFile(photos + "/photo.png", "the operator's own picture");
    test::writeFile(dir.file("outside.txt"), "outside");
    ASSERT_EQ(0, symlink(dir.file("outside.txt").c_str(), (photos + "/photo-2.png").c_str()));
    putSample("pass-a.jpg", photos + "/itself.png");  // a JPEG photo whose overlay would be itself

    const CliResult r = runCli({"check", "--overlay", photos, photos + "/photo.jpg", photos + "/itself.png"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(test::readFile(photos + "/photo.png"), "the operator's own picture");
    EXPECT_EQ(test::readFile(dir.file("outside.txt")), "outside");
    EXPECT_EQ(test::readFile(photos + "/itself.png"), test::readFile(sourceFolder() + "samples/pass-a.jpg"));
    EXPECT_EQ(test::readFile(photos + "/photo-3.png").substr(1, 3), "PNG");
    EXPECT_EQ(test::readFile(photos + "/itself-2.png").substr(1, 3), "PNG");
}

// A report whose disk fills up halfway: a small file system of its own for the page's folder, in a
// mount namespace of the command's own.
TEST_F(HostileCliTest, AReportOnAFullDiskIsGivenUpAndTheRunGoesOn) {
    for (int i = 0; i < 8; ++i) putSample("glasses.jpg", photos + "/g" + std::to_string(i) + ".jpg");
    const std::string full = dir.file("full");
    ASSERT_EQ(0, mkdir(full.c_str(), 0700));
    const std::string mount = "mount -t tmpfs -o size=48k tmpfs " + shellQuoted(full);
    if (runCommand("unshare -rm sh -c " + shellQuoted(mount)).status != 0)
        GTEST_SKIP() << "no mount namespace for a small file system";

    const CliResult r = runCommand(
        "unshare -rm sh -c " +
        shellQuoted(mount + " && exec " +
                    cliCommand({"batch", photos, "--work-folder", work, "--report", full + "/r.html"})));
    EXPECT_EQ(r.status, 2) << r.err;
    const Lines lines = r.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "照片合格率=0%   其中合格数=0  ,  不合格数=8");
    EXPECT_EQ(
        std::count_if(
            lines.begin(), lines.end(),
            [&](const std::string& line) {
                return line ==
                       "无法写入检测报告 " + full +
                           "/r.html（磁盘空间已满：No space left on device）；检测报告已放弃，检测继续进行";
            }),
        1);
    EXPECT_NE(r.err.find("检测报告没有写出：无法写入检测报告 " + full + "/r.html"), std::string::npos)
        << r.err;
    EXPECT_EQ(runCli({"query", "--work-folder", work}).lines().size(), 9u);
}

TEST_F(HostileCliTest, AReportPathThatIsAFolderIsRefusedBeforeAnythingIsTouched) {
    test::writeFile(photos + "/a.txt", "a");
    ASSERT_EQ(runCli({"batch", photos, "--work-folder", work}).status, 0);
    test::writeFile(photos + "/b.txt", "b");
    const CliResult r = runCli({"batch", photos, "--work-folder", work, "--report", dir.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("检测报告 " + dir.path() + " 是一个文件夹", 0), 0u) << r.err;
    EXPECT_EQ(runCli({"query", "--work-folder", work}).lines().size(), 2u);
    EXPECT_TRUE(test::fileExists(dir.file("不合格照片/a.txt")));
}

// The hidden folder of the report's parts beside the page.
std::vector<std::string> partsFolders(const std::string& folder) {
    std::vector<std::string> names;
    for (const std::string& name : test::namesIn(folder))
        if (name.rfind(".r.html.parts-", 0) == 0) names.push_back(name);
    return names;
}

// The operator's Ctrl+C, and the system's request to end (a shutdown, a service manager).
TEST_F(HostileCliTest, CtrlCAndSigtermStopTheRunAndLeaveNoPartsOfTheReport) {
    for (int i = 0; i < 200; ++i) putSample("glasses.jpg", photos + "/g" + std::to_string(i) + ".jpg");
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal == SIGINT ? "SIGINT" : "SIGTERM");
        const std::string stale = dir.file(".r.html.parts-Abc123");  // left by a run that was killed
        ASSERT_EQ(0, mkdir(stale.c_str(), 0700));
        test::writeFile(stale + "/part-1.html", "<figure>");

        test::RunningProgram cli(
            test::programIn(binFolder(), "photocheck-cli"),
            {"batch", photos, "--work-folder", work, "--report", dir.file("r.html"), "-j", "1"});
        for (int seen = 0; seen < 3;) {
            const std::optional<std::string> line = cli.nextLine();
            ASSERT_TRUE(line) << "the run ended before it was interrupted";
            if (line->find("已检测照片") != std::string::npos) ++seen;
        }
        EXPECT_EQ(partsFolders(dir.path()).size(), 1u);  // this run's own; the stale one is gone
        EXPECT_EQ(cli.signalAndWait(signal), 128 + signal);
        EXPECT_EQ(partsFolders(dir.path()), std::vector<std::string>{});
        EXPECT_FALSE(test::fileExists(dir.file("r.html")));
        const size_t rows = runCli({"query", "--work-folder", work}).lines().size() - 1;
        EXPECT_GE(rows, 3u);
        EXPECT_LT(rows, 200u);
        EXPECT_EQ(test::namesIn(dir.file("不合格照片")).size(), rows);
    }
}

TEST_F(HostileCliTest, OutputFilesInsideThePhotoFolderAreNotJudged) {
    test::writeFile(photos + "/a.txt", "a");
    putSample("glasses.jpg", photos + "/g.jpg");
    const std::vector<std::string> outputs = {"--csv", photos + "/rows.csv", "--report", photos + "/r.html"};
    for (int run = 0; run < 2; ++run) {  // the second finds the first one's CSV and page
        std::vector<std::string> args = {"batch", photos, "--work-folder", work};
        args.insert(args.end(), outputs.begin(), outputs.end());
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 0) << r.err;
        ASSERT_FALSE(r.lines().empty());
        EXPECT_EQ(r.lines().front(), "此文件夹照片一共有 2 张");
    }
    EXPECT_EQ(test::namesIn(dir.file("不合格照片")), (std::vector<std::string>{"a.txt", "g.jpg"}));
}

TEST_F(HostileCliTest, ACsvFileNamingTheDatabaseIsRefusedAndTheDatabaseKept) {
    test::writeFile(photos + "/a.txt", "a");
    ASSERT_EQ(runCli({"batch", photos, "--work-folder", work}).status, 0);
    const std::string database = work + "/qob.trd";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"query", "--work-folder", work, "--csv", database},
          std::vector<std::string>{"batch", photos, "--work-folder", work, "--csv", database},
          std::vector<std::string>{"batch", photos, "--work-folder", work, "--csv", work + "/./qob.trd-wal"},
          std::vector<std::string>{"batch", photos, "--work-folder", work, "--report", database}}) {
        const CliResult r = runCli(args);
        EXPECT_EQ(r.status, 1) << args[0] << " " << args.back();
        EXPECT_NE(r.err.find("中的工作文件（数据库等），写入会毁掉它；请换一个文件名"), std::string::npos)
            << r.err;
    }
    EXPECT_EQ(runCli({"query", "--work-folder", work}).lines(),
              (Lines{"文件名  结果    原因", "a       不合格  照片格式必须是JPG"}));
}

// Names a spreadsheet would run as formulas when the CSV is opened.
TEST_F(HostileCliTest, CsvCellsThatWouldBeFormulasBeginWithAnApostrophe) {
    for (const char* name : {"=HYPERLINK(\"http;x\")", "+1", "-2", "@SUM(A1)", " =x", "a=b"})
        test::writeFile(photos + "/" + name + ".txt", "x");
    const CliResult r = runCli({"batch", photos, "--work-folder", work, "--csv", dir.file("rows.csv")});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> names;
    const std::string csv = test::readFile(dir.file("rows.csv"));
    for (size_t line = csv.find("\r\n") + 2; line < csv.size(); line = csv.find("\r\n", line) + 2)
        names.push_back(csv.substr(line, csv.find(",txt,", line) - line));
    EXPECT_EQ(names, (std::vector<std::string>{"'=x", "'+1", "'-2", "\"'=HYPERLINK(\"\"http;x\"\")\"",
                                               "'@SUM(A1)", "a=b"}));
    const CliResult query = runCli({"query", "--work-folder", work, "--csv", dir.file("query.csv")});
    ASSERT_EQ(query.status, 0) << query.err;
    EXPECT_EQ(test::readFile(dir.file("query.csv")), csv);
}

// Names that would clear the screen, colour it or print a line of their own, in every log line that
// names a file: unreadable, passed over, not copied.
TEST_F(HostileCliTest, NamesInTheLogShowTheirControlCharactersEscaped) {
    const std::string clear = "\x1B[2J\x1B[31m";
    test::writeFile(photos + "/" + clear + "a.jpg", "not a jpeg");
    ASSERT_EQ(0, mkfifo((photos + "/" + clear + "pipe").c_str(), 0600));
    test::writeFile(photos + "/b\r照片合格率=100%.txt", "x");
    ASSERT_EQ(0, mkdir(dir.file("不合格照片").c_str(), 0700));
    ASSERT_EQ(0,
              mkdir(dir.file("不合格照片/b\r照片合格率=100%.txt").c_str(), 0700));  // the copy cannot be made

    const CliResult r = runCli({"batch", photos, "--work-folder", work});
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_EQ(r.out.find_first_of("\x1B\r"), std::string::npos) << r.out;
    const std::string shown = "\\x1B[2J\\x1B[31m";
    for (const std::string& line : {"未检测：" + photos + "/" + shown + "pipe，不是普通文件",
                                    "照片文件无法读取：" + photos + "/" + shown + "a.jpg（",
                                    "照片未能复制到“不合格照片”：" + photos + "/b\\r照片合格率=100%.txt，"})
        EXPECT_NE(r.out.find(line), std::string::npos) << line;
}

}  // namespace
}  // namespace photocheck
