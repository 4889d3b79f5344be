#include <gtest/gtest.h>

#include "check/FileCheck.h"
#include "imaging/Jpeg.h"
#include "platform/FileSystem.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using test::TempDir;

// A photo-sized picture with some structure, so the JPEG is not trivially small.
Bitmap photoPicture(int width = PhotoWidth, int height = PhotoHeight) {
    return test::makeBitmap(width, height, [=](int x, int y) {
        return makeColour(x * 255 / width, y * 255 / height, (x + y) % 64 + 100);
    });
}

std::string writePhoto(const TempDir& dir, const std::string& name, int width = PhotoWidth,
                       int height = PhotoHeight) {
    std::string path = dir.file(name);
    writeJpeg(photoPicture(width, height), path, {.quality = 40});
    return path;
}

struct FileCheckTest : ::testing::Test {
    TempDir dir;
    CheckContext ctx;
};

TEST_F(FileCheckTest, UpperAndLowerCaseJpgPassAndKeepTheirCase) {
    const std::string upper = writePhoto(dir, "a.JPG");
    EXPECT_TRUE(FileCheck(ctx, upper));
    EXPECT_EQ(ctx.row.columns, ",mode,pix,Picsize");
    const auto kb = std::to_string(test::readFile(upper).size() / 1024);
    EXPECT_EQ(ctx.row.values, ", ' JPG ' , ' 390*567 ' ," + kb);
    EXPECT_EQ(ctx.row.line, "  JPG  390*567  " + kb + "K");
    ctx.row.clear();
    const std::string lower = writePhoto(dir, "b.jpg");
    EXPECT_TRUE(FileCheck(ctx, lower));
    EXPECT_EQ(ctx.row.values.substr(0, 10), ", ' jpg ' ");
}

TEST_F(FileCheckTest, JpegExtensionFailsTheFormatCheckWithoutPixelColumns) {
    const std::string path = writePhoto(dir, "a.jpeg");
    EXPECT_FALSE(FileCheck(ctx, path));
    EXPECT_EQ(ctx.row.columns, ",mode,reason");
    EXPECT_EQ(ctx.row.values, ", ' jpeg ' ,'照片格式必须是JPG' ");
    EXPECT_EQ(ctx.row.line, "  jpeg");
}

TEST_F(FileCheckTest, NoExtensionGivesTwoBlanksBetweenTheQuotes) {
    const std::string path = writePhoto(dir, "photo");
    EXPECT_FALSE(FileCheck(ctx, path));
    EXPECT_EQ(ctx.row.values, ", '  ' ,'照片格式必须是JPG' ");
}

TEST_F(FileCheckTest, DotInAFolderNameIsNoExtension) {
    test::writeFile(dir.file("x.jpg"), "");
    createFolder(dir.file("folder.jpg"));
    EXPECT_FALSE(FileCheck(ctx, dir.file("folder.jpg/photo")));
    EXPECT_EQ(ctx.row.values, ", '  ' ,'照片格式必须是JPG' ");
}

TEST_F(FileCheckTest, WrongPixelSizeFailsWithThePixelColumn) {
    EXPECT_FALSE(FileCheck(ctx, writePhoto(dir, "tall.jpg", 390, 568)));
    EXPECT_EQ(ctx.row.columns, ",mode,pix,reason");
    EXPECT_EQ(ctx.row.values, ", ' jpg ' , ' 390*568 ' ,'照片像素必须是390*567' ");
    EXPECT_EQ(ctx.row.line, "  jpg  390*568");
    ctx.row.clear();
    EXPECT_FALSE(FileCheck(ctx, writePhoto(dir, "wide.jpg", 391, 567)));
    EXPECT_EQ(ctx.row.values, ", ' jpg ' , ' 391*567 ' ,'照片像素必须是390*567' ");
}

TEST_F(FileCheckTest, FileSizeThresholdCountsWholeKilobytes) {
    ctx.params.ParamFileSizeKb = 30;
    const std::string exact = writePhoto(dir, "exact.jpg");
    const std::string under = writePhoto(dir, "under.jpg");
    ASSERT_LT(test::readFile(exact).size(), 30719u);
    test::resizeFile(exact, 30720);
    test::resizeFile(under, 30719);

    EXPECT_TRUE(FileCheck(ctx, exact));
    EXPECT_EQ(ctx.row.line, "  jpg  390*567  30K");
    EXPECT_EQ(ctx.row.values, ", ' jpg ' , ' 390*567 ' ,30");
    ctx.row.clear();
    EXPECT_FALSE(FileCheck(ctx, under));
    EXPECT_EQ(ctx.row.columns, ",mode,pix,Picsize,reason");
    EXPECT_EQ(ctx.row.values, ", ' jpg ' , ' 390*567 ' ,29,'文件小于30KB'");
}

TEST_F(FileCheckTest, SizeReasonAlwaysNamesThirtyKilobytes) {
    ctx.params.ParamFileSizeKb = 20;
    const std::string path = writePhoto(dir, "small.jpg");
    test::resizeFile(path, 19 * 1024);
    EXPECT_FALSE(FileCheck(ctx, path));
    const std::string reason = "'文件小于30KB'";
    EXPECT_EQ(ctx.row.values.substr(ctx.row.values.size() - reason.size()), reason);
}

TEST_F(FileCheckTest, PassLoadsTheDecodedPhotoIntoAllThreeViews) {
    const std::string path = writePhoto(dir, "a.jpg");
    ASSERT_TRUE(FileCheck(ctx, path));
    const Bitmap decoded = decodeJpeg(path);
    EXPECT_EQ(ctx.orgImage.picture(), decoded);
    EXPECT_EQ(ctx.showImage.picture(), decoded);
    EXPECT_EQ(ctx.MyImage.picture(), decoded);
}

TEST_F(FileCheckTest, FailedCheckEmptiesOrgImageButLeavesTheOtherViews) {
    ASSERT_TRUE(FileCheck(ctx, writePhoto(dir, "a.jpg")));
    const Bitmap previous = ctx.showImage.picture();
    ctx.row.clear();
    EXPECT_FALSE(FileCheck(ctx, writePhoto(dir, "b.jpg", 100, 100)));
    EXPECT_FALSE(ctx.orgImage.hasPicture());
    EXPECT_EQ(ctx.showImage.picture(), previous);
    EXPECT_EQ(ctx.MyImage.picture(), previous);
}

TEST_F(FileCheckTest, UndecodableFileRaisesAfterTheModeFragment) {
    test::writeFile(dir.file("text.jpg"), "this is not a photo");
    EXPECT_THROW(FileCheck(ctx, dir.file("text.jpg")), JpegError);
    EXPECT_EQ(ctx.row.columns, ",mode");
    EXPECT_THROW(FileCheck(ctx, dir.file("missing.jpg")), std::runtime_error);
}

TEST_F(FileCheckTest, HugeHeaderIsRejectedWithoutDecodingThePixels) {
    // A valid JPEG whose frame header is patched to claim 65000 x 65000 pixels.
    const std::string path = writePhoto(dir, "huge.jpg", 16, 16);
    std::string bytes = test::readFile(path);
    const auto sof = bytes.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    bytes[sof + 5] = bytes[sof + 7] = static_cast<char>(0xFD);
    bytes[sof + 6] = bytes[sof + 8] = static_cast<char>(0xE8);
    test::writeFile(path, bytes);
    EXPECT_FALSE(FileCheck(ctx, path));
    EXPECT_EQ(ctx.row.values, ", ' jpg ' , ' 65000*65000 ' ,'照片像素必须是390*567' ");
}

TEST_F(FileCheckTest, GrayscaleJpegComesOutWithEqualChannels) {
    const std::string path = dir.file("gray.jpg");
    writeJpeg(photoPicture(), path, {.quality = 60, .grayscale = true});
    ASSERT_TRUE(FileCheck(ctx, path));
    const Bitmap& b = ctx.orgImage.picture();
    for (int y = 0; y < b.height(); y += 37)
        for (int x = 0; x < b.width(); x += 13) {
            const Colour c = b.pixel(x, y);
            ASSERT_EQ(redOf(c), greenOf(c));
            ASSERT_EQ(greenOf(c), blueOf(c));
        }
}

TEST(ResultRow, WorkedExampleStatement) {
    ResultRow row;
    row.beginWithName("a01");
    row.addText("mode", "jpg");
    row.addText("pix", "390*567");
    row.addNumber("Picsize", 45);
    row.addNumber("bluePercent", 87);
    row.fail("背景不是浅蓝色", ResultRow::Blank::After);
    row.addVerdict(false);
    row.addText("folderPath", "D:\\p\\");
    EXPECT_EQ(row.insertStatement(),
              "insert into pictureMsg (name,mode,pix,Picsize,bluePercent,reason,result,folderPath) values ( "
              "' a01 ' "
              ", ' jpg ' , ' 390*567 ' ,45,87,'背景不是浅蓝色' ,'不合格' , ' D:\\p\\ ' )");
}

TEST(ResultRow, SingleQuotesAreDoubled) {
    ResultRow row;
    row.beginWithName("O'Brien");
    EXPECT_EQ(row.values, " ' O''Brien ' ");
}

}  // namespace
}  // namespace photocheck
