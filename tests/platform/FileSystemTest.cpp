#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using test::TempDir;
using Paths = std::vector<std::string>;

struct FolderWalkTest : ::testing::Test {
    TempDir dir;
    std::string root = dir.file("photos");
    void SetUp() override { test::makeFolders(root); }
    std::string at(const std::string& relative) const { return root + "/" + relative; }
    void touch(const std::string& relative) const { test::writeFile(at(relative), "x"); }
};

TEST_F(FolderWalkTest, EntriesComeInTheOrderOfTheirUpperCasedNames) {
    for (const char* name : {"b.jpg", "A.jpg", "a_1.jpg", "C.txt", "a.JPG0"}) touch(name);
    // Upper-cased: "A.JPG" < "A.JPG0" < "A_1.JPG" < "B.JPG" < "C.TXT" ('.' < '_').
    EXPECT_EQ(ListFilesRecursive(root, ".*"),
              (Paths{at("A.jpg"), at("a.JPG0"), at("a_1.jpg"), at("b.jpg"), at("C.txt")}));
}

TEST_F(FolderWalkTest, NamesDifferingOnlyInCaseKeepAFixedOrder) {
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
    EXPECT_EQ(ListFilesRecursive(root + "/", ".*"), (Paths{at("a.txt")}));
}

TEST_F(FolderWalkTest, OneExtensionIsComparedWithoutLetterCase) {
    for (const char* name : {"a.jpg", "b.JPG", "c.jpeg", "d", "e.txt.jpg"}) touch(name);
    EXPECT_EQ(ListFilesRecursive(root, ".Jpg"), (Paths{at("a.jpg"), at("b.JPG"), at("e.txt.jpg")}));
}

TEST_F(FolderWalkTest, LinksToFoldersAreNotFollowed) {
    test::makeFolders(at("sub"));
    touch("sub/a.txt");
    ASSERT_EQ(0, symlink(root.c_str(), at("sub/loop").c_str()));
    ASSERT_EQ(0, symlink(at("sub").c_str(), at("again").c_str()));
    EXPECT_EQ(ListFilesRecursive(root, ".*"), (Paths{at("sub/a.txt")}));
}

TEST_F(FolderWalkTest, LinksToFilesAndDanglingLinksAreListedButPipesAreNot) {
    touch("real.txt");
    ASSERT_EQ(0, symlink(at("real.txt").c_str(), at("link.txt").c_str()));
    ASSERT_EQ(0, symlink(at("nowhere.jpg").c_str(), at("gone.jpg").c_str()));
    ASSERT_EQ(0, mkfifo(at("pipe.jpg").c_str(), 0600));
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
    ASSERT_EQ(0, symlink(outside.c_str(), at("folderlink").c_str()));
    ASSERT_EQ(0, symlink((outside + "/keep.jpg").c_str(), at("filelink.jpg").c_str()));
    EmptyFolderTree(root + "/");
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
    ASSERT_EQ(0, chmod(at("a.jpg").c_str(), 0640));
    EXPECT_TRUE(copyFileNoOverwrite(at("a.jpg"), at("b.jpg")).made());
    EXPECT_EQ(test::readFile(at("b.jpg")), std::string("\0\1binary", 8));
    struct stat st {};
    ASSERT_EQ(0, stat(at("b.jpg").c_str(), &st));
    EXPECT_EQ(st.st_mode & 0777, 0640u);
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

    char shm[] = "/dev/shm/photocheck-copy-XXXXXX";
    if (!mkdtemp(shm)) GTEST_SKIP() << "no memory file system at /dev/shm";
    const std::string source = std::string(shm) + "/a.jpg";
    test::writeFile(source, content);
    const CopyOutcome outcome = copyFileNoOverwrite(source, at("c.jpg"));
    unlink(source.c_str());
    rmdir(shm);
    EXPECT_TRUE(outcome.made()) << outcome.reason;
    EXPECT_EQ(test::readFile(at("c.jpg")), content);
}

// A disk that fills up halfway through a copy: the largest file this process may write is set below
// the photo's size, in a child process.
TEST_F(CopyTest, ACopyThatFailsHalfwayLeavesNoHalfFile) {
    test::writeFile(at("a.jpg"), std::string(200000, 'x'));
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);  // the write fails instead
        const rlimit largest{65536, 65536};
        setrlimit(RLIMIT_FSIZE, &largest);
        const CopyOutcome outcome = copyFileNoOverwrite(at("a.jpg"), at("b.jpg"));
        _exit(outcome.kind == CopyOutcome::Kind::Failed ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the copy was not reported as failed";
    EXPECT_FALSE(test::fileExists(at("b.jpg")));
}

TEST_F(CopyTest, NeverReplacesAnExistingFile) {
    test::writeFile(at("a.jpg"), "new");
    test::writeFile(at("b.jpg"), "old");
    EXPECT_EQ(copyFileNoOverwrite(at("a.jpg"), at("b.jpg")).kind, CopyOutcome::Kind::TargetExists);
    EXPECT_EQ(test::readFile(at("b.jpg")), "old");
}

TEST_F(CopyTest, NeverWritesThroughALinkAtTheTarget) {
    test::writeFile(at("a.jpg"), "new");
    ASSERT_EQ(0, symlink(at("elsewhere.jpg").c_str(), at("b.jpg").c_str()));
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
