// Photo folders built to trip the walk and the statements: links back up the tree, folders nobody may
// read, and names full of quotes, wildcards, blanks and non-ASCII bytes.
#include <gtest/gtest.h>

#include "batch/BatchRun.h"
#include "batch/ResultsQuery.h"
#include "batch/RowPhoto.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "tests/batch/BatchTestSupport.h"
#include "tests/support/SystemSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using Names = std::vector<std::string>;

struct HostileFolderTest : test::BatchFolderTest {
    void put(const std::string& relative) const { BatchFolderTest::put(relative, "not a photo"); }
    BatchSummary run() { return RunBatch(adoPicMsg, options, {}, state); }
    // Column 0 (name) and column 12 (folderPath) of every row, blanks included.
    std::vector<std::pair<std::string, std::string>> namesAndFolders() {
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& row : test::tableRows(*db)) out.emplace_back(row.at(0), row.at(12));
        return out;
    }
};

TEST_F(HostileFolderTest, LinksBackUpTheTreeAreNotFollowed) {
    test::makeFolders(at("sub/deeper"));
    put("a.txt");
    put("sub/deeper/b.txt");
    if (!test::makeLink(photos, at("sub/deeper/up")) ||
        !test::makeLink(dir.path(), at("sub/root")) ||  // holds the result folders
        !test::makeLink("..", at("sub/parent")) ||
        !test::makeLink("loop.txt", at("loop.txt")))  // a link to itself: no copy is made
        GTEST_SKIP() << "no link can be made here";

    const BatchSummary summary = run();
    EXPECT_EQ(summary.total, 3);
    EXPECT_EQ(namesAndFolders(),
              (std::vector<std::pair<std::string, std::string>>{{" a ", " " + at("") + " "},
                                                                {" loop ", " " + at("") + " "},
                                                                {" b ", " " + at("sub/deeper/") + " "}}));
    EXPECT_EQ(test::namesIn(failed), (Names{"a.txt", "b.txt"}));
}

// Windows names hold no double quote and are always Unicode: those two names are made on Linux only.
TEST_F(HostileFolderTest, NamesWithQuotesWildcardsBlanksAndOtherBytesReachTheirRows) {
    const bool linux = !test::onWindows();
    const std::string odd = linux ? "o'ne \"100%\"_照片" : "o'ne 100%_照片";
    test::makeFolders(at(odd));
    const std::string gbkName = "\xD5\xD5\xC6\xAC";  // 照片 in GBK: no valid UTF-8
    std::vector<std::string> names = {"it's.txt",        "100%.txt",    "a_b.txt",
                                      "two  blanks.txt", "照片 一.txt", "semi;--.txt"};
    if (linux) names.insert(names.end(), {"say \"hi\".txt", gbkName + ".txt"});
    for (const std::string& name : names) put(name);
    put(odd + "/x'.txt");

    EXPECT_EQ(run().total, linux ? 9 : 7);
    const std::string top = " " + at("") + " ";
    const std::string inner = " " + at(odd + "/") + " ";
    std::vector<std::pair<std::string, std::string>> expected = {
        {" 100% ", top}, {" a_b ", top}, {" it's ", top}, {" x' ", inner}};
    if (linux) expected.emplace_back(" say \"hi\" ", top);
    expected.insert(expected.end(), {{" semi;-- ", top}, {" two  blanks ", top}});
    if (linux) expected.emplace_back(" " + gbkName + " ", top);
    expected.emplace_back(" 照片 一 ", top);
    EXPECT_EQ(namesAndFolders(), expected);
    names.emplace_back("x'.txt");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(test::namesIn(failed), names);
}

TEST_F(HostileFolderTest, TheStoredNamesAreFoundAgainByTheFileNameFilter) {
    for (const char* name : {"it's.txt", "100%.txt", "a_b.txt", "照片 一.txt"}) put(name);
    run();
    ResultsFilter filter;
    filter.verdict = "不合格";
    for (const char* text : {"it's", "照片 一"}) {
        filter.fileName = text;
        ASSERT_TRUE(OpenSql(adoPicMsg, *buildResultsQuery(filter).statement)) << text;
        EXPECT_EQ(adoPicMsg.fetchAll(), 1u) << text;
        EXPECT_EQ(adoPicMsg.text(0, "name"), " " + std::string(text) + " ");
    }
}

TEST_F(HostileFolderTest, AResultFolderThatIsALinkIsRefusedAndWhatItPointsToIsKept) {
    put("a.txt");
    test::makeFolders(dir.file("elsewhere/d"));
    test::writeFile(dir.file("elsewhere/d/keep"), "precious");
    if (!test::makeLink(dir.file("elsewhere"), passed)) GTEST_SKIP() << "no link can be made here";
    ExecSql(adoPicMsg, "insert into pictureMsg (name) values ( ' earlier ' )");
    try {
        run();
        FAIL() << "the run started";
    } catch (const BatchRefused& e) {
        EXPECT_EQ(std::string(e.what()), "结果文件夹 " + photos + test::native("/../合格照片") +
                                             " 是一个链接；为免删除它所指向的文件，"
                                             "检测没有开始。请删除这个链接后再试");
    }
    EXPECT_EQ(test::readFile(dir.file("elsewhere/d/keep")), "precious");
    EXPECT_FALSE(folderExists(failed));
    EXPECT_EQ(test::tableRows(*db).size(), 1u);
}

TEST_F(HostileFolderTest, AFolderBelowAnotherRunsResultFolderIsRefused) {
    test::makeFolders(dir.file("合格照片/sub"));
    test::writeFile(dir.file("合格照片/copy.jpg"), "copy");
    test::writeFile(dir.file("合格照片/sub/photo.jpg"), "photo");
    options.photoFolder = dir.file("合格照片/sub");
    EXPECT_THROW(run(), BatchRefused);
    EXPECT_EQ(test::namesIn(dir.file("合格照片")), (Names{"copy.jpg", "sub"}));
    EXPECT_FALSE(folderExists(dir.file("合格照片/合格照片")));
}

TEST_F(HostileFolderTest, TheWorkingFolderInsideThePhotoFolderIsNotWalked) {
    test::makeFolders(at("work"));
    for (const char* name : {"work/qob.trd", "work/qob.trd-wal", "work/SetParameters.ini", "a.txt"})
        put(name);
    options.workFolder = at("work/");
    EXPECT_EQ(run().total, 1);
    EXPECT_EQ(namesAndFolders(),
              (std::vector<std::pair<std::string, std::string>>{{" a ", " " + at("") + " "}}));
}

}  // namespace
}  // namespace photocheck
