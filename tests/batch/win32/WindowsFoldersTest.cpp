#include <gtest/gtest.h>

#include "batch/BatchRun.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "tests/batch/BatchTestSupport.h"
#include "tests/support/SystemSupport.h"

// What a batch run meets on Windows and not on Linux: junctions, names beyond the ANSI code page,
// paths past 260 characters, read-only files.

namespace photocheck {
namespace {

using Lines = std::vector<std::string>;

struct WindowsFoldersTest : test::BatchFolderTest {
    BatchSummary run() { return RunBatch(adoPicMsg, options, {}, state); }
};

// Emptying a junction would empty the folder it points to: refused like a link on Linux.
TEST_F(WindowsFoldersTest, AResultFolderThatIsAJunctionIsRefusedBeforeAnythingIsDeletedOnWindows) {
    put("a.txt");
    test::makeFolders(dir.file("elsewhere"));
    test::writeFile(dir.file("elsewhere/keep.jpg"), "keep");
    if (!test::makeLink(dir.file("elsewhere"), passed))
        GTEST_SKIP() << "no junction can be made here (Wine 8 makes none)";
    try {
        run();
        FAIL() << "the run started";
    } catch (const BatchRefused& e) {
        EXPECT_NE(std::string(e.what()).find("是一个链接"), std::string::npos) << e.what();
    }
    EXPECT_EQ(test::namesIn(dir.file("elsewhere")), (Lines{"keep.jpg"}));
}

// The narrow Windows calls would turn such a name into question marks: the wide ones find the photo.
TEST_F(WindowsFoldersTest, APhotoNamedOutsideTheAnsiCodePageIsCheckedAndCopiedOnWindows) {
    const std::string name = "考生照片_사진_φωτό";
    ASSERT_FALSE(test::representableInAnsiCodePage(name));
    test::writeSmallJpeg(at(name + ".jpg"));
    EXPECT_EQ(run().total, 1);
    const auto rows = test::tableRows(*db);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], " " + name + " ");
    EXPECT_EQ(test::namesIn(failed), (Lines{name + ".jpg"}));
}

// A path past the old limit of 260 characters is read with the "\\?\" prefix like any other.
TEST_F(WindowsFoldersTest, APhotoWhosePathIsLongerThan260CharactersIsCheckedAndCopiedOnWindows) {
    std::string folder = photos;
    for (int i = 0; i < 6; ++i) folder += "\\" + std::string(50, static_cast<char>('a' + i));
    test::makeFolders(folder);
    const std::string photo = folder + "\\photo.jpg";
    ASSERT_GT(photo.size(), 300u);
    test::writeSmallJpeg(photo);
    EXPECT_EQ(run().total, 1);
    const auto rows = test::tableRows(*db);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][12], " " + folder + "\\ ");
    EXPECT_EQ(test::namesIn(failed), (Lines{"photo.jpg"}));
}

// A copy keeps the read-only attribute of its photo; the next run still empties the result folder.
TEST_F(WindowsFoldersTest, AReadOnlyFileInAResultFolderIsDeletedByTheNextRunOnWindows) {
    put("a.txt");
    test::makeReadOnly(at("a.txt"));
    run();
    ASSERT_TRUE(test::isReadOnly(failed + "\\a.txt"));
    test::writeFile(failed + "\\stray.txt", "stray");
    test::makeReadOnly(failed + "\\stray.txt");
    EXPECT_EQ(run().undeletedFiles, 0);
    EXPECT_EQ(test::namesIn(failed), (Lines{"a.txt"}));
}

}  // namespace
}  // namespace photocheck
