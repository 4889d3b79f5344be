#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "platform/FileSystem.h"
#include "platform/Files.h"
#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "store/ZipArchive.h"
#include "tests/store/ZipTestSupport.h"
#include "tests/support/SystemSupport.h"

namespace photocheck {
namespace {

using test::entry;
using test::pathExists;
using test::reasons;
using test::TempDir;
using test::writePackage;

struct ZipExtractorTest : ::testing::Test {
    TempDir dir;
    std::string zipPath = dir.file("package.zip");
    std::string dest = dir.file("a/b/out/");
    ZipExtractor x;

    void SetUp() override {
        x.ZipName = zipPath;
        x.DestDir = dest;
        x.Password = "secret";
    }
    std::string extracted(const std::string& name) { return test::readFile(dest + name); }
};

std::string zipErrorOf(ZipExtractor& x) {
    try {
        x.UnZip();
    } catch (const ZipError& e) {
        return e.what();
    }
    return "no error";
}

TEST_F(ZipExtractorTest, StoredDeflatedAndEncryptedMembersAreWritten) {
    ZipWriterEntry stored = entry("stored.txt", "plain stored text");
    stored.deflate = false;
    ZipWriterEntry described = entry("described.bin", std::string(5000, 'q'), "secret");
    described.dataDescriptor = true;  // the check byte comes from the time
    writePackage(zipPath, {stored, entry("deflated.txt", std::string(100000, 'z') + "end"),
                           entry("locked.txt", "under the password", "secret"), described});
    EXPECT_EQ(x.UnZip(), 4);
    EXPECT_EQ(extracted("stored.txt"), "plain stored text");
    EXPECT_EQ(extracted("deflated.txt"), std::string(100000, 'z') + "end");
    EXPECT_EQ(extracted("locked.txt"), "under the password");
    EXPECT_EQ(extracted("described.bin"), std::string(5000, 'q'));
    EXPECT_TRUE(x.skipped().empty());
}

// The end record nearest the end counts: a member may hold the record's signature itself.
TEST_F(ZipExtractorTest, AnEndRecordInsideAMemberIsNotTakenForTheArchives) {
    ZipWriterEntry decoy = entry("decoy.bin", std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    decoy.deflate = false;
    writePackage(zipPath, {decoy, entry("real.txt", "real")});
    EXPECT_EQ(x.UnZip(), 2);
    EXPECT_EQ(extracted("real.txt"), "real");
    EXPECT_EQ(extracted("decoy.bin").size(), 22u);
}

TEST_F(ZipExtractorTest, MembersKeepTheDirectoryOrder) {
    writePackage(zipPath, {entry("z.txt", "1"), entry("a.txt", "2"), entry("m.txt", "3")});
    x.UnZip();
    ASSERT_EQ(x.members().size(), 3u);
    EXPECT_EQ(x.members()[0].filePart, "z.txt");
    EXPECT_EQ(x.members()[1].filePart, "a.txt");
    EXPECT_EQ(x.members()[2].filePart, "m.txt");
}

TEST_F(ZipExtractorTest, WrongPasswordWritesNothing) {
    writePackage(zipPath, {entry("qob.trd", "database", "kvrdemtl"), entry("readme.doc", "doc", "kvrdemtl")});
    x.Password = "wrong";
    EXPECT_EQ(x.UnZip(), 0);
    EXPECT_FALSE(pathExists(dest + "qob.trd"));
    EXPECT_FALSE(pathExists(dest + "readme.doc"));
    EXPECT_EQ(reasons(x), (std::vector<SkipReason>{SkipReason::WrongPassword, SkipReason::WrongPassword}));
}

// One wrong password in 256 passes the check byte; the member then decrypts to noise, which the
// CRC (stored) or the inflater (deflated) refuses, and still nothing is written.
TEST_F(ZipExtractorTest, WrongPasswordThatPassesTheCheckByteStillWritesNothing) {
    x.Password = "wrong";
    int luckySeeds = 0;
    for (uint32_t seed = 0; seed < 2000; ++seed) {
        ZipWriterEntry stored = entry("stored.txt", "plain stored text", "secret");
        stored.deflate = false;
        stored.headerSeed = seed;
        ZipWriterEntry deflated = entry("deflated.txt", std::string(3000, 'z'), "secret");
        deflated.headerSeed = seed;
        writePackage(zipPath, {stored});
        ASSERT_EQ(x.UnZip(), 0);
        ASSERT_FALSE(pathExists(dest + "stored.txt"));
        const std::vector<SkipReason> got = reasons(x);
        ASSERT_EQ(got.size(), 1u);
        if (got[0] == SkipReason::WrongPassword) continue;
        EXPECT_EQ(got[0], SkipReason::BadCrc);
        ++luckySeeds;
        writePackage(zipPath, {deflated});
        try {
            const int written = x.UnZip();
            EXPECT_EQ(written, 0);
        } catch (const ZipError& e) {
            EXPECT_STREQ(e.what(), "error");
        }
        EXPECT_FALSE(pathExists(dest + "deflated.txt"));
    }
    EXPECT_GT(luckySeeds, 0);  // about eight of the 2,000 headers
}

TEST_F(ZipExtractorTest, EmptyFileIsAnArchiveWithoutMembers) {
    test::writeFile(zipPath, "");
    EXPECT_EQ(x.UnZip(), 0);
    EXPECT_FALSE(pathExists(dest));
}

TEST_F(ZipExtractorTest, FileWithoutEndRecordIsIncomplete) {
    test::writeFile(zipPath, "PK");
    EXPECT_EQ(zipErrorOf(x), "Incomplete Zip File");
    test::writeFile(zipPath, std::string(70000, 'x'));
    EXPECT_EQ(zipErrorOf(x), "Incomplete Zip File");
}

TEST_F(ZipExtractorTest, LongestCommentIsRead) {
    writePackage(zipPath, {entry("a.txt", "after a long comment")}, std::string(65535, 'c'));
    EXPECT_EQ(x.UnZip(), 1);
    EXPECT_EQ(extracted("a.txt"), "after a long comment");
}

TEST_F(ZipExtractorTest, MissingArchiveCannotBeOpened) {
    x.ZipName = dir.file("none.zip");
    EXPECT_THROW(x.UnZip(), std::runtime_error);
}

TEST_F(ZipExtractorTest, MemberInASubfolderGoesIntoThatFolder) {
    writePackage(zipPath,
                 {entry("data/qob.trd", "db"), entry("x\\y\\z.txt", "back"), entry("a/./b.txt", "dot")});
    EXPECT_EQ(x.UnZip(), 3);
    EXPECT_EQ(extracted("data/qob.trd"), "db");
    EXPECT_EQ(extracted("x/y/z.txt"), "back");
    EXPECT_EQ(extracted("a/b.txt"), "dot");
    EXPECT_FALSE(pathExists(dest + "qob.trd"));
}

TEST_F(ZipExtractorTest, FolderMemberIsCreatedAndCounted) {
    ZipWriter zip;
    zip.addFolder("empty");
    zip.writeTo(zipPath);
    EXPECT_EQ(x.UnZip(), 1);
    EXPECT_TRUE(folderExists(dest + "empty"));
}

TEST_F(ZipExtractorTest, NamesFromWindowsAreReadAsGbk) {
    // The second byte of 乗 in GBK is a backslash; it must not split the name.
    writePackage(zipPath, {entry(utf8ToGbk("照片/乗.txt"), "gbk")});
    EXPECT_EQ(x.UnZip(), 1);
    EXPECT_EQ(extracted("照片/乗.txt"), "gbk");
}

TEST_F(ZipExtractorTest, NamesWithTheUtf8FlagAreTakenAsTheyAre) {
    ZipWriterEntry e = entry("合格.txt", "utf8");
    e.utf8Name = true;
    writePackage(zipPath, {e});
    EXPECT_EQ(x.UnZip(), 1);
    EXPECT_EQ(extracted("合格.txt"), "utf8");
}

TEST_F(ZipExtractorTest, BadCrcLeavesNoFile) {
    ZipWriterEntry e = entry("qob.trd", "content");
    e.crcOverride = 0x12345678;
    writePackage(zipPath, {e, entry("next.txt", "goes on")});
    EXPECT_EQ(x.UnZip(), 1);
    EXPECT_FALSE(pathExists(dest + "qob.trd"));
    EXPECT_EQ(extracted("next.txt"), "goes on");
    EXPECT_EQ(reasons(x), std::vector<SkipReason>{SkipReason::BadCrc});
}

TEST_F(ZipExtractorTest, BadCrcKeepsTheFileItWouldHaveReplaced) {
    ZipWriterEntry e = entry("kept.txt", "broken");
    e.crcOverride = 1;
    writePackage(zipPath, {e});
    createFolders(dest);
    test::writeFile(dest + "kept.txt", "old");
    x.onOverwrite = [](const std::string&) { return true; };
    EXPECT_EQ(x.UnZip(), 0);
    EXPECT_EQ(extracted("kept.txt"), "old");
}

TEST_F(ZipExtractorTest, DamagedCentralDirectoryIsRebuiltFromLocalHeaders) {
    ZipWriter zip;
    zip.add(entry("one.txt", "first", "secret"));
    ZipWriterEntry described = entry("two.txt", "second");
    described.dataDescriptor = true;
    zip.add(described);
    std::string archive = zip.finish();
    archive[zip.directoryOffset()] = 'X';  // the first central header's signature
    test::writeFile(zipPath, archive);
    EXPECT_EQ(x.UnZip(), 2);
    EXPECT_EQ(extracted("one.txt"), "first");
    EXPECT_EQ(extracted("two.txt"), "second");
}

TEST_F(ZipExtractorTest, DamagedDirectoryWithoutLocalHeadersIsNotAZipFile) {
    ZipWriter zip;
    zip.add(entry("one.txt", "first"));
    std::string archive = zip.finish();
    archive[0] = 'X';
    archive[zip.directoryOffset()] = 'X';
    test::writeFile(zipPath, archive);
    EXPECT_EQ(zipErrorOf(x), "Not a valid zip file!");
}

TEST_F(ZipExtractorTest, DamagedDeflateStreamIsAnErrorAndLeavesNoFile) {
    ZipWriterEntry e = entry("bad.bin", "\xff\xff\xff\xff");  // block type 3 does not exist
    e.deflate = false;
    e.methodOverride = 8;
    writePackage(zipPath, {e});
    EXPECT_EQ(zipErrorOf(x), "error");
    EXPECT_FALSE(pathExists(dest + "bad.bin"));
}

TEST_F(ZipExtractorTest, UnknownMethodIsReportedAndSkipped) {
    ZipWriterEntry e = entry("bzip.bin", "data");
    e.methodOverride = 12;
    writePackage(zipPath, {e, entry("ok.txt", "ok")});
    std::vector<std::string> reports;
    x.onError = [&](const std::string& caption, const std::string& text) {
        reports.push_back(caption + ": " + text);
    };
    EXPECT_EQ(x.UnZip(), 1);
    EXPECT_EQ(reports, std::vector<std::string>{"Zip Error: Unknown Compression Method"});
    EXPECT_FALSE(pathExists(dest + "bzip.bin"));
}

TEST_F(ZipExtractorTest, NamesLeadingOutsideTheDestinationAreSkipped) {
    writePackage(zipPath,
                 {entry("../x", "1"), entry("..\\..\\x", "2"), entry("a/C:/x", "6"), entry("a/../../x", "7"),
                  entry("C:..\\x", "8"), entry("\\..\\x", "10"), entry("inside..name", "9")});
    EXPECT_EQ(x.UnZip(), 1);
    EXPECT_EQ(extracted("inside..name"), "9");
    EXPECT_EQ(reasons(x), std::vector<SkipReason>(6, SkipReason::UnsafeName));
    EXPECT_FALSE(pathExists(dir.file("a/b/x")));
    EXPECT_FALSE(pathExists(dir.file("a/x")));
    EXPECT_FALSE(pathExists(dir.file("x")));
    EXPECT_FALSE(pathExists(dest + "x"));
    EXPECT_FALSE(pathExists(dest + "a"));
}

// As the installation on Windows places them: the leading separator and the drive are dropped.
TEST_F(ZipExtractorTest, NamesBeginningWithASeparatorOrADriveArePlacedInside) {
    const std::string absolute = dir.file("abs-x");
    writePackage(zipPath, {entry("\\x1", "1"), entry("C:\\x2", "2"), entry("C:x3", "3"),
                           entry("/etc/x4", "4"), entry("d:\\sub\\x5", "5"), entry(absolute, "6")});
    EXPECT_EQ(x.UnZip(), 6);
    EXPECT_TRUE(x.skipped().empty());
    EXPECT_EQ(extracted("x1"), "1");
    EXPECT_EQ(extracted("x2"), "2");
    EXPECT_EQ(extracted("x3"), "3");
    EXPECT_EQ(extracted("etc/x4"), "4");
    EXPECT_EQ(extracted("sub/x5"), "5");
    EXPECT_EQ(extracted(absolute.substr(rootLengthOf(absolute))), "6");
    EXPECT_FALSE(pathExists(absolute));
    EXPECT_FALSE(pathExists("/etc/x4"));
}

TEST_F(ZipExtractorTest, SymbolicLinkMemberIsSkipped) {
    ZipWriterEntry link = entry("passwd", "/etc/passwd");
    link.deflate = false;
    link.hostSystem = 3;
    link.externalAttributes = 0120777u << 16;
    writePackage(zipPath, {link});
    EXPECT_EQ(x.UnZip(), 0);
    EXPECT_FALSE(pathExists(dest + "passwd"));
    EXPECT_EQ(reasons(x), std::vector<SkipReason>{SkipReason::SymbolicLink});
}

TEST_F(ZipExtractorTest, LinkInTheDestinationIsNeverFollowed) {
    writePackage(zipPath, {entry("sub/file.txt", "through a link")});
    createFolders(dest);
    createFolder(dir.file("elsewhere"));
    if (!test::makeLink(dir.file("elsewhere"), dest + "sub")) GTEST_SKIP() << "no link can be made here";
    EXPECT_EQ(x.UnZip(), 0);
    EXPECT_FALSE(pathExists(dir.file("elsewhere/file.txt")));
    EXPECT_EQ(reasons(x), std::vector<SkipReason>{SkipReason::CannotCreate});
}

TEST_F(ZipExtractorTest, DeflateBombIsStoppedAtTheLimit) {
    ZipWriterEntry bomb = entry("bomb.bin", std::string(4 * 1024 * 1024, '\0'));
    bomb.declaredSizeOverride = 100;
    writePackage(zipPath, {bomb});
    x.MaxMemberSize = 1024 * 1024;
    EXPECT_EQ(x.UnZip(), 0);
    EXPECT_FALSE(pathExists(dest + "bomb.bin"));
    EXPECT_EQ(reasons(x), std::vector<SkipReason>{SkipReason::TooLarge});
    // No partial file is left in the folder either.
    EXPECT_TRUE(std::filesystem::is_empty(nativePath(dest)));
}

TEST_F(ZipExtractorTest, DeclaredSizeAboveTheDefaultLimitIsSkipped) {
    ZipWriterEntry big = entry("big.bin", "small really");
    big.declaredSizeOverride = DefaultMaxMemberSize + 1;
    writePackage(zipPath, {big});
    EXPECT_EQ(x.UnZip(), 0);
    EXPECT_EQ(reasons(x), std::vector<SkipReason>{SkipReason::TooLarge});
    EXPECT_FALSE(pathExists(dest + "big.bin"));
}

struct OverwriteTest : ZipExtractorTest {
    std::vector<std::string> asked;
    void SetUp() override {
        ZipExtractorTest::SetUp();
        writePackage(zipPath, {entry("sub/readme.doc", "new")});
        createFolders(dest + "sub");
        test::writeFile(dest + "sub/readme.doc", "old");
    }
    OverwritePrompt answer(bool yes) {
        return [this, yes](const std::string& name) {
            asked.push_back(name);
            return yes;
        };
    }
};

TEST_F(OverwriteTest, AnswerNoKeepsTheExistingFile) {
    x.onOverwrite = answer(false);
    EXPECT_EQ(x.UnZip(), 0);
    EXPECT_EQ(extracted("sub/readme.doc"), "old");
    EXPECT_EQ(asked, std::vector<std::string>{"readme.doc"});
    EXPECT_EQ(reasons(x), std::vector<SkipReason>{SkipReason::Declined});
}

TEST_F(OverwriteTest, AnswerYesReplacesIt) {
    x.onOverwrite = answer(true);
    EXPECT_EQ(x.UnZip(), 1);
    EXPECT_EQ(extracted("sub/readme.doc"), "new");
    EXPECT_EQ(asked, std::vector<std::string>{"readme.doc"});
}

TEST_F(OverwriteTest, WithoutAPromptTheFileIsKept) {
    EXPECT_EQ(x.UnZip(), 0);
    EXPECT_EQ(extracted("sub/readme.doc"), "old");
}

TEST(OverwriteQuestionTest, NamesTheFile) {
    EXPECT_EQ(overwriteQuestion("qob.trd"), "Replace existing file qob.trd?");
}

TEST_F(ZipExtractorTest, Zip64RecordsAndExtraFieldsAreRead) {
    ZipWriterEntry first = entry("first.txt", "one");
    first.zip64 = true;
    ZipWriterEntry second = entry("second.txt", std::string(70000, 's'), "secret");
    second.zip64 = true;
    writePackage(zipPath, {first, second}, "comment", true);
    EXPECT_EQ(x.UnZip(), 2);
    EXPECT_EQ(extracted("first.txt"), "one");
    EXPECT_EQ(extracted("second.txt"), std::string(70000, 's'));
    ASSERT_EQ(x.members().size(), 2u);
    EXPECT_EQ(x.members()[1].uncompressedSize, 70000u);
    EXPECT_GT(x.members()[1].localHeaderOffset, 0u);
}

TEST_F(ZipExtractorTest, WrittenFileTakesTheMemberTime) {
    ZipWriterEntry e = entry("dated.txt", "x");
    e.dosDateTime =
        (43u << 25) | (6u << 21) | (15u << 16) | (8u << 11) | (30u << 5) | 10u;  // 2023-06-15 08:30:20
    writePackage(zipPath, {e});
    x.UnZip();
    std::tm expected{};
    expected.tm_year = 123;
    expected.tm_mon = 5;
    expected.tm_mday = 15;
    expected.tm_hour = 8;
    expected.tm_min = 30;
    expected.tm_sec = 20;
    expected.tm_isdst = -1;
    EXPECT_EQ(test::modificationTimeOf(dest + "dated.txt"), std::mktime(&expected));
}

TEST(DosDateTimeTest, FieldsOutOfRangeAreBroughtIntoRange) {
    // 2023-06-15 08:30:20 stays as it is.
    const uint32_t valid = (43u << 25) | (6u << 21) | (15u << 16) | (8u << 11) | (30u << 5) | 10u;
    EXPECT_EQ(repairDosDateTime(valid), valid);
    // year 2107, month 15, day 0, hour 31, minute 63, second 62
    const uint32_t wild = (127u << 25) | (15u << 21) | (0u << 16) | (31u << 11) | (63u << 5) | 31u;
    EXPECT_EQ(repairDosDateTime(wild),
              (119u << 25) | (12u << 21) | (1u << 16) | (23u << 11) | (59u << 5) | 29u);
    // month 0 becomes January
    EXPECT_EQ(repairDosDateTime((44u << 25) | (0u << 21) | (5u << 16)),
              (44u << 25) | (1u << 21) | (5u << 16));
}

}  // namespace
}  // namespace photocheck
