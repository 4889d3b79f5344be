#include <gtest/gtest.h>

#include "batch/ResultFolders.h"
#include "tests/batch/BatchTestSupport.h"
#include "tests/support/SystemSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

TEST(ResultFolders, AreFormedByPlainConcatenation) {
    test::TempDir dir;
    const std::string photos = dir.file("photos");
    test::makeFolders(photos);
    const ResultFolders folders = resultFoldersBeside(photos);
    EXPECT_EQ(folders.passed, photos + test::native("/../合格照片"));
    EXPECT_EQ(folders.failed, photos + test::native("/../不合格照片"));
}

TEST(ResultFolders, OfAMissingFolderAreResolvedOnTheText) {
    const ResultFolders folders = resultFoldersBeside(test::native("/nonexistent-photocheck/photos"));
    EXPECT_EQ(folders.passed, test::native("/nonexistent-photocheck/合格照片"));
    EXPECT_EQ(folders.failed, test::native("/nonexistent-photocheck/不合格照片"));
}

TEST(ResultFolders, OfARootLieInsideIt) {
    const ResultFolders folders = resultFoldersBeside(test::native("/"));
    EXPECT_EQ(folders.passed, test::native("//../合格照片"));
    EXPECT_EQ(folders.failed, test::native("//../不合格照片"));
}

struct InsideResultFolderTest : ::testing::Test {
    test::TempDir dir;
    std::string base = dir.file("base");
    void SetUp() override {
        test::makeFolders(base + "/合格照片/sub");
        test::makeFolders(base + "/不合格照片");
        test::makeFolders(base + "/合格照片2");
        test::makeFolders(base + "/photos");
    }
    bool inside(const std::string& relative) const {
        const std::string folder = base + "/" + relative;
        return liesInResultFolder(folder, resultFoldersBeside(folder));
    }
};

TEST_F(InsideResultFolderTest, APhotoFolderBesideTheResultFoldersIsFine) {
    EXPECT_FALSE(inside("photos"));
    EXPECT_FALSE(inside("合格照片2"));
}

TEST_F(InsideResultFolderTest, AResultFolderItselfIsCaught) {
    EXPECT_TRUE(inside("合格照片"));
    EXPECT_TRUE(inside("不合格照片"));
}

TEST_F(InsideResultFolderTest, AFolderInsideAResultFolderIsCaught) {
    const ResultFolders folders = resultFoldersBeside(base + "/photos");
    EXPECT_TRUE(liesInResultFolder(base + "/合格照片/sub", folders));
    EXPECT_TRUE(liesInResultFolder(base + "/合格照片/sub/..", folders));
    EXPECT_FALSE(liesInResultFolder(base + "/合格照片2", folders));
}

TEST_F(InsideResultFolderTest, ALinkToAResultFolderIsCaught) {
    const std::string link = dir.file("link");
    if (!test::makeLink(base + "/不合格照片", link)) GTEST_SKIP() << "no link can be made here";
    EXPECT_TRUE(liesInResultFolder(link, resultFoldersBeside(base + "/photos")));
}

TEST_F(InsideResultFolderTest, MissingFoldersAreNotInside) {
    EXPECT_FALSE(liesInResultFolder(base + "/missing", resultFoldersBeside(base + "/missing")));
    EXPECT_FALSE(liesInResultFolder(base + "/photos", {base + "/none1", base + "/none2"}));
}

}  // namespace
}  // namespace photocheck
