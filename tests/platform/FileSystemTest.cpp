#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "tests/support/SystemSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using test::TempDir;
using Paths = std::vector<std::string>;

struct FolderWalkTest : ::testing::Test {
    TempDir dir;
    std::string root = dir.file("photos");
    void SetUp() override { test::makeFolders(root); }
    std::string at(const std::string& relative) const { return root + test::native("/" + relative); }
    bool link(const std::string& target, const std::string& relative) const {
        return test::makeLink(target, at(relative));
    }
    void touch(const std::string& relative) const { test::writeFile(at(relative), "x"); }
};

TEST_F(FolderWalkTest, EntriesComeInTheOrderOfTheirUpperCasedNames) {
    for (const char* name : {"b.jpg", "A.jpg", "a_1.jpg", "C.txt", "a.JPG0"}) touch(name);
    // Upper-cased: "A.JPG" < "A.JPG0" < "A_1.JPG" < "B.JPG" < "C.TXT" ('.' < '_').
    EXPECT_EQ(ListFilesRecursive(root, ".*"),
              (Paths{at("A.jpg"), at("a.JPG0"), at("a_1.jpg"), at("b.jpg"), at("C.txt")}));
}

TEST_F(FolderWalkTest, NamesDifferingOnlyInCaseKeepAFixedOrder) {
    if (test::onWindows()) GTEST_SKIP() << "Windows folders hold no two names that differ only in case";
    touch("a.jpg");
    touch("A.jpg");
    EXPECT_EQ(ListFilesRecursive(root, ".*"), (Paths{at("A.jpg"), at("a.jpg")}));
}

TEST_F(FolderWalkTest, SubfoldersAreWalkedWhereTheyAreMet) {
    test::makeFolders(at("m/deeper"));
    touch("a.txt");
    touch("m/y.txt");
    touch("m/deeper/z.txt");
    touch("z.txt");
    EXPECT_EQ(ListFilesRecursive(root, ".*"),
              (Paths{at("a.txt"), at("m/deeper/z.txt"), at("m/y.txt"), at("z.txt")}));
}

TEST_F(FolderWalkTest, HiddenFilesAndFilesWithoutExtensionAreListed) {
    touch(".hidden.jpg");
    touch("photo");
    EXPECT_EQ(ListFilesRecursive(root, ".*"), (Paths{at(".hidden.jpg"), at("photo")}));
}

TEST_F(FolderWalkTest, AFolderWithAFinalSeparatorGivesTheSamePaths) {
    touch("a.txt");
    EXPECT_EQ(ListFilesRecursive(withFinalSeparator(root), ".*"), (Paths{at("a.txt")}));
}

TEST_F(FolderWalkTest, OneExtensionIsComparedWithoutLetterCase) {
    for (const char* name : {"a.jpg", "b.JPG", "c.jpeg", "d", "e.txt.jpg"}) touch(name);
    EXPECT_EQ(ListFilesRecursive(root, ".Jpg"), (Paths{at("a.jpg"), at("b.JPG"), at("e.txt.jpg")}));
}

TEST_F(FolderWalkTest, LinksToFoldersAreNotFollowed) {
    test::makeFolders(at("sub"));
    touch("sub/a.txt");
    if (!link(root, "sub/loop") || !link(at("sub"), "again")) GTEST_SKIP() << "no link can be made here";
    EXPECT_EQ(ListFilesRecursive(root, ".*"), (Paths{at("sub/a.txt")}));
}

// Windows has no named pipes in a folder.
TEST_F(FolderWalkTest, LinksToFilesAndDanglingLinksAreListedButPipesAreNot) {
    touch("real.txt");
    if (!link(at("real.txt"), "link.txt") || !link(at("nowhere.jpg"), "gone.jpg"))
        GTEST_SKIP() << "no link can be made here";
    if (!test::makeNamedPipe(at("pipe.jpg"))) GTEST_SKIP() << "no named pipe can be made in a folder here";
    EXPECT_EQ(ListFilesRecursive(root, ".*"), (Paths{at("gone.jpg"), at("link.txt"), at("real.txt")}));
}

TEST_F(FolderWalkTest, AMissingFolderGivesAnEmptyList) {
    EXPECT_TRUE(ListFilesRecursive(at("missing"), ".*").empty());
    touch("file");
    EXPECT_TRUE(ListFilesRecursive(at("file"), ".*").empty());
}

TEST_F(FolderWalkTest, EmptyingDeletesFilesBelowAndKeepsEveryFolder) {
    test::makeFolders(at("sub/deeper"));
    touch("a.jpg");
    touch(".hidden");
    touch("sub/b.jpg");
    touch("sub/deeper/c.jpg");
    EmptyFolderTree(root);
    EXPECT_EQ(test::namesIn(root), (Paths{"sub"}));
    EXPECT_EQ(test::namesIn(at("sub")), (Paths{"deeper"}));
    EXPECT_TRUE(test::namesIn(at("sub/deeper")).empty());
}

TEST_F(FolderWalkTest, EmptyingRemovesLinksWithoutFollowingThem) {
    const std::string outside = dir.file("outside");
    test::makeFolders(outside);
    test::writeFile(outside + "/keep.jpg", "precious");
    if (!link(outside, "folderlink") || !link(outside + test::native("/keep.jpg"), "filelink.jpg"))
        GTEST_SKIP() << "no link can be made here";
    EmptyFolderTree(withFinalSeparator(root));
    EXPECT_TRUE(test::namesIn(root).empty());
    EXPECT_EQ(test::readFile(outside + "/keep.jpg"), "precious");
}

TEST_F(FolderWalkTest, EmptyingAMissingFolderReportsNothingAndMakesNothing) {
    std::vector<std::string> reported;
    EmptyFolderTree(at("missing"),
                    [&](const std::string& path, const std::string&) { reported.push_back(path); });
    EXPECT_TRUE(reported.empty());
    EXPECT_FALSE(test::fileExists(at("missing")));
}

struct CopyTest : FolderWalkTest {};

TEST_F(CopyTest, CopiesContentAndPermissions) {
    test::writeFile(at("a.jpg"), std::string("\0\1binary", 8));
    test::makeReadOnly(at("a.jpg"));
    const bool modes = test::setMode(at("a.jpg"), 0440);  // Linux only: Windows has the attribute alone
    EXPECT_TRUE(copyFileNoOverwrite(at("a.jpg"), at("b.jpg")).made());
    EXPECT_EQ(test::readFile(at("b.jpg")), std::string("\0\1binary", 8));
    EXPECT_TRUE(test::isReadOnly(at("b.jpg")));
    if (modes) {
        EXPECT_EQ(test::modeOf(at("b.jpg")), 0440u);
    }
}

// Larger than one read of the copy, so that a copy cut short shows. Within one file system the kernel
// copies the file itself; from a memory file system to this one it may not (a kernel copy between file
// systems of different kinds is refused), and the copy reads and writes instead.
TEST_F(CopyTest, AFileIsCopiedWholeWithinAndAcrossFileSystems) {
    std::string content;
    for (int i = 0; i < 300000; ++i) content += static_cast<char>(i * 7 % 251);
    test::writeFile(at("a.jpg"), content);
    EXPECT_TRUE(copyFileNoOverwrite(at("a.jpg"), at("b.jpg")).made());
    EXPECT_EQ(test::readFile(at("b.jpg")), content);

    if (!test::fileExists("/dev/shm")) GTEST_SKIP() << "no memory file system at /dev/shm";
    const std::string shm = createUniqueFolder("/dev/shm/photocheck-copy-");
    const std::string source = shm + "/a.jpg";
    test::writeFile(source, content);
    const CopyOutcome outcome = copyFileNoOverwrite(source, at("c.jpg"));
    removeTree(shm);
    EXPECT_TRUE(outcome.made()) << outcome.reason;
    EXPECT_EQ(test::readFile(at("c.jpg")), content);
}

TEST_F(CopyTest, NeverReplacesAnExistingFile) {
    test::writeFile(at("a.jpg"), "new");
    test::writeFile(at("b.jpg"), "old");
    EXPECT_EQ(copyFileNoOverwrite(at("a.jpg"), at("b.jpg")).kind, CopyOutcome::Kind::TargetExists);
    EXPECT_EQ(test::readFile(at("b.jpg")), "old");
}

TEST_F(CopyTest, NeverWritesThroughALinkAtTheTarget) {
    test::writeFile(at("a.jpg"), "new");
    if (!link(at("elsewhere.jpg"), "b.jpg")) GTEST_SKIP() << "no link can be made here";
    EXPECT_FALSE(copyFileNoOverwrite(at("a.jpg"), at("b.jpg")).made());
    EXPECT_FALSE(test::fileExists(at("elsewhere.jpg")));
}

TEST_F(CopyTest, AMissingSourceOrAFolderMakesNoCopy) {
    EXPECT_FALSE(copyFileNoOverwrite(at("missing.jpg"), at("b.jpg")).made());
    EXPECT_FALSE(test::fileExists(at("b.jpg")));
    test::makeFolders(at("sub"));
    EXPECT_FALSE(copyFileNoOverwrite(at("sub"), at("c")).made());
    EXPECT_FALSE(test::fileExists(at("c")));
}

TEST_F(CopyTest, FoldersAreCreatedOnceAndResolvedToCanonicalPaths) {
    createFolder(at("new"));
    EXPECT_TRUE(folderExists(at("new")));
    EXPECT_THROW(createFolder(at("new")), FileSystemError);
    EXPECT_THROW(createFolder(at("missing/new")), FileSystemError);
    EXPECT_EQ(canonicalPath(at("new/../new")), canonicalPath(at("new")));
    EXPECT_FALSE(canonicalPath(at("missing")).has_value());
}

}  // namespace
}  // namespace photocheck
