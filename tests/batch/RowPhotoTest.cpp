#include <gtest/gtest.h>

#include "batch/RowPhoto.h"
#include "imaging/BmpFile.h"
#include "imaging/Jpeg.h"
#include "tests/batch/BatchTestSupport.h"

namespace photocheck {
namespace {

// A results row as the batch run stores it: blanks around name, mode and folderPath.
StoredPhoto storedRow(const test::TempDir& dir, const std::string& name, const std::string& mode) {
    return {" " + name + " ", " " + mode + " ", " " + dir.path() + " "};
}

struct RowPhotoTest : ::testing::Test {
    test::TempDir dir;
    CheckContext ctx;
    Bitmap earlier{4, 4, makeColour(1, 2, 3)};
    void SetUp() override {
        ctx.orgImage.assign(earlier);
        ctx.showImage.assign(earlier);
        ctx.Memo2.add("a line");
    }
};

TEST_F(RowPhotoTest, AJpgRowIsShownFromItsOwnFolderInTheCaseOfItsExtensionAndClearsTheLog) {
    test::writeSmallJpeg(dir.file("Photo 1.jpg"));
    ShowRowPhoto(ctx, storedRow(dir, "Photo 1", "jpg"));
    EXPECT_EQ(ctx.orgImage.picture(), decodeJpeg(dir.file("Photo 1.jpg")));
    EXPECT_EQ(ctx.showImage.picture(), ctx.orgImage.picture());
    EXPECT_EQ(ctx.Memo2.count(), 0);
}

// The earlier row's photo must not stay on screen as if it were this row's.
TEST_F(RowPhotoTest, AJpgRowWhoseFileIsGoneOrUnreadableEmptiesTheViewsSaysWhyAndKeepsTheLog) {
    test::writeFile(dir.file("bad.JPG"), "not a jpeg");
    const std::pair<const char*, const char*> cases[] = {{"moved", "照片文件不存在"},
                                                         {"bad", "这个文件不是JPEG照片"}};
    for (const auto& [name, reason] : cases) {
        ctx.orgImage.assign(earlier);
        ctx.showImage.assign(earlier);
        EXPECT_EQ(ShowRowPhoto(ctx, storedRow(dir, name, "JPG")).rfind(reason, 0), 0u) << name;
        EXPECT_FALSE(ctx.orgImage.hasPicture()) << name;
        EXPECT_FALSE(ctx.showImage.hasPicture()) << name;
        EXPECT_EQ(ctx.Memo2.count(), 1) << name;
    }
}

TEST_F(RowPhotoTest, ABmpRowGoesIntoShowImageOnly) {
    const Bitmap bmp(6, 5, makeColour(200, 10, 10));
    test::writeFile(dir.file("scan.bmp"), test::bmpFileOf(bmp));
    ShowRowPhoto(ctx, storedRow(dir, "scan", "bmp"));
    EXPECT_EQ(ctx.showImage.picture(), bmp);
    EXPECT_EQ(ctx.orgImage.picture(), earlier);

    test::writeFile(dir.file("broken.bmp"), "BM");
    EXPECT_THROW(ShowRowPhoto(ctx, storedRow(dir, "broken", "bmp")), BmpError);
    EXPECT_FALSE(ctx.showImage.hasPicture());
}

TEST_F(RowPhotoTest, ARowOfAnotherFormatOrWithoutANameClearsBothViews) {
    EXPECT_EQ(ShowRowPhoto(ctx, StoredPhoto{}), "这一行没有文件名，找不到它的照片");
    EXPECT_FALSE(ctx.orgImage.hasPicture());
    ctx.orgImage.assign(earlier);
    EXPECT_FALSE(ShowRowPhoto(ctx, storedRow(dir, "notes", "txt")).empty());
    EXPECT_FALSE(ctx.orgImage.hasPicture());
    EXPECT_FALSE(ctx.showImage.hasPicture());
    EXPECT_EQ(ctx.Memo2.count(), 1);
}

}  // namespace
}  // namespace photocheck
