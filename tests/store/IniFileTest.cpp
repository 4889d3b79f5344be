#include <gtest/gtest.h>

#include "platform/Gbk.h"
#include "store/IniFile.h"
#include "tests/support/SystemSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using test::TempDir;

struct IniFileTest : ::testing::Test {
    TempDir dir;
    std::string path = dir.file("SetParameters.ini");
    void writeGbk(const std::string& utf8) { test::writeFile(path, utf8ToGbk(utf8)); }
};

TEST_F(IniFileTest, BlanksAroundNamesAndValueAreIgnored) {
    writeGbk("  [ Parameters ]  \r\n   清晰度   =   200   \r\n");
    EXPECT_EQ(ReadIniString(path, "Parameters", "清晰度"), "200");
}

TEST_F(IniFileTest, SectionAndKeyIgnoreAsciiLetterCase) {
    writeGbk("[PARAMETERS]\r\n文件最小大小(KB)=30\r\n");
    EXPECT_EQ(ReadIniString(path, "parameters", "文件最小大小(Kb)"), "30");
}

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesEmptyText) {
    writeGbk("[Parameters]\n端正比=90\n[Other]\n清晰度=5\n");
    EXPECT_EQ(ReadIniString(dir.file("none.ini"), "Parameters", "端正比"), "");
    EXPECT_EQ(ReadIniString(path, "Missing", "端正比"), "");
    EXPECT_EQ(ReadIniString(path, "Parameters", "清晰度"), "");
    EXPECT_EQ(ReadIniString(path, "Parameters", "端正比"), "90");
}

TEST_F(IniFileTest, KeyWrittenInUtf8IsNotFound) {
    test::writeFile(path, "[Parameters]\n头部高度比=50\n");  // UTF-8 bytes, not GBK
    EXPECT_EQ(ReadIniString(path, "Parameters", "头部高度比"), "");
}

TEST_F(IniFileTest, TrailByteOfADoubleByteCharacterKeepsItsCase) {
    // 0x81 0x41 and 0x81 0x61 are two different characters; their trail bytes are "A" and "a".
    test::writeFile(path, "[Parameters]\n\x81\x41=1\n");
    EXPECT_EQ(ReadIniString(path, "Parameters", gbkToUtf8("\x81\x41")), "1");
    EXPECT_EQ(ReadIniString(path, "Parameters", gbkToUtf8("\x81\x61")), "");
}

TEST_F(IniFileTest, ValueComesBackInUtf8WithoutItsQuotes) {
    writeGbk("[Parameters]\n结果=\"合格\"\n");
    EXPECT_EQ(ReadIniString(path, "Parameters", "结果"), "合格");
}

TEST_F(IniFileTest, OnlyTheFirstSectionOfANameIsSearched) {
    writeGbk("[Parameters]\n端正比=90\n[Parameters]\n清晰度=200\n");
    EXPECT_EQ(ReadIniString(path, "Parameters", "清晰度"), "");
}

TEST_F(IniFileTest, UnreadableFileReportsTheReadErrorAndGivesEmptyText) {
    std::string message;
    EXPECT_EQ(ReadIniString(dir.path(), "Parameters", "清晰度", [&](const std::string& m) { message = m; }),
              "");
    EXPECT_EQ(message, "读取配置文件出错!（" + dir.path() + "：是文件夹）");
}

// A device or a huge file named as the parameter file is refused unread, not read into memory.
TEST_F(IniFileTest, AFileLargerThanAnyProfileIsNotRead) {
    writeGbk("[Parameters]\r\n清晰度=200\r\n");
    test::resizeFile(path, static_cast<long long>(MaxProfileBytes) + 1);
    std::string message;
    EXPECT_EQ(ReadIniString(path, "Parameters", "清晰度", [&](const std::string& m) { message = m; }), "");
    EXPECT_EQ(message, "读取配置文件出错!（" + path + "：文件过大，不是配置文件）");
    const std::string device = test::onWindows() ? "NUL" : "/dev/zero";
    EXPECT_EQ(ReadIniString(device, "Parameters", "清晰度", [&](const std::string& m) { message = m; }), "");
    EXPECT_EQ(message, "读取配置文件出错!（" + device + "：不是普通文件）");
}

}  // namespace
}  // namespace photocheck
