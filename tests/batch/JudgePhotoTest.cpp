#include <gtest/gtest.h>

#include "batch/JudgePhoto.h"
#include "imaging/Jpeg.h"
#include "tests/batch/BatchTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tools/samplegen/IdPhotoPainter.h"

namespace photocheck {
namespace {

struct JudgePhotoTest : ::testing::Test {
    test::TempDir dir;
    CheckContext ctx;
};

TEST_F(JudgePhotoTest, AFileOfAnotherFormatGivesTheRowOfTheWorkedExample) {
    test::writeFile(dir.file("abc.png"), "png");
    const JudgedPhoto photo = JudgePhoto(ctx, dir.file("abc.png"), Unreadable::Raise);
    EXPECT_FALSE(photo.passed);
    EXPECT_EQ(photo.row.insertStatement(),
              "insert into pictureMsg (name,mode,reason,result,folderPath) values ( ' abc ' , ' png ' ,"
              "'照片格式必须是JPG' ,'不合格' , ' " +
                  dir.path() + " ' )");
    EXPECT_FALSE(photo.unreadable);
    EXPECT_EQ(photo.path, dir.file("abc.png"));
}

TEST_F(JudgePhotoTest, AWrongPixelSizeStopsAfterTheFileCheck) {
    test::writeSmallJpeg(dir.file("my photo.jpg"), 20, 30);
    const JudgedPhoto photo = JudgePhoto(ctx, dir.file("my photo.jpg"), Unreadable::Raise);
    EXPECT_EQ(photo.row.columns, "name,mode,pix,reason,result,folderPath");
    EXPECT_EQ(
        photo.row.values,
        " ' my photo ' , ' jpg ' , ' 20*30 ' ,'照片像素必须是390*567' ,'不合格' , ' " + dir.path() + " ' ");
}

TEST_F(JudgePhotoTest, ATooSmallPhotoStopsAtTheFileSize) {
    test::writePhotoSizedJpeg(dir.file("a.b.JPG"));
    ctx.params.ParamFileSizeKb = 100000;
    const JudgedPhoto photo = JudgePhoto(ctx, dir.file("a.b.JPG"), Unreadable::Raise);
    const std::string kb = std::to_string(test::readFile(dir.file("a.b.JPG")).size() / 1024);
    EXPECT_EQ(photo.row.values, " ' a.b ' , ' JPG ' , ' 390*567 ' ," + kb + ",'文件小于30KB','不合格' , ' " +
                                    dir.path() + " ' ");
}

TEST_F(JudgePhotoTest, AnUndecodableFileFailsWithItsOwnReasonWhenAsked) {
    test::writeFile(dir.file("fake.jpg"), "not a jpeg at all");
    const JudgedPhoto photo = JudgePhoto(ctx, dir.file("fake.jpg"), Unreadable::FailTheRow);
    EXPECT_FALSE(photo.passed);
    EXPECT_EQ(photo.row.columns, "name,mode,reason,result,folderPath");
    EXPECT_EQ(photo.row.values,
              " ' fake ' , ' jpg ' ,'照片文件无法读取' ,'不合格' , ' " + dir.path() + " ' ");
    ASSERT_TRUE(photo.unreadable);
    EXPECT_EQ(*photo.unreadable, "Not a JPEG file: starts with 0x6e 0x6f");
}

TEST_F(JudgePhotoTest, AnUndecodableFileRaisesOtherwise) {
    test::writeFile(dir.file("fake.jpg"), "not a jpeg at all");
    EXPECT_THROW(JudgePhoto(ctx, dir.file("fake.jpg"), Unreadable::Raise), JpegError);
}

TEST_F(JudgePhotoTest, AVanishedFileCannotBeOpened) {
    const JudgedPhoto photo = JudgePhoto(ctx, dir.file("gone.JPG"), Unreadable::FailTheRow);
    EXPECT_EQ(photo.row.columns, "name,mode,reason,result,folderPath");
    ASSERT_TRUE(photo.unreadable);
    EXPECT_NE(photo.unreadable->find("文件或文件夹不存在"), std::string::npos) << *photo.unreadable;
}

TEST_F(JudgePhotoTest, EachPhotoStartsWithAnEmptyRowAndLog) {
    ctx.Memo2.add("left over");
    ctx.row.addText("mode", "stale");
    test::writeFile(dir.file("x.txt"), "");
    const JudgedPhoto photo = JudgePhoto(ctx, dir.file("x.txt"), Unreadable::Raise);
    EXPECT_TRUE(photo.log.empty());
    EXPECT_EQ(photo.row.columns.substr(0, 10), "name,mode,");
}

// The log line of the head height shows the hair top row of the last photo that had one.
std::string headUpLine(const JudgedPhoto& photo) {
    for (const std::string& line : photo.log)
        if (line.find("其中headUp=") != std::string::npos) return line;
    return "(no head height line)";
}

TEST_F(JudgePhotoTest, TheHairTopRowOfAnEarlierPhotoIsKept) {
    samplegen::PhotoSpec withHair;
    samplegen::PhotoSpec withoutHair;
    withoutHair.hair = withoutHair.background;  // no row stands out from the wall
    writeJpeg(samplegen::paintIdPhoto(withHair), dir.file("hair.jpg"), {.quality = 95});
    writeJpeg(samplegen::paintIdPhoto(withoutHair), dir.file("bald.jpg"), {.quality = 95});
    applySettings(ctx, {true, false, test::packageThresholds()});
    ctx.params.ParamClarity = 1000000;

    const std::string first = headUpLine(JudgePhoto(ctx, dir.file("hair.jpg"), Unreadable::Raise));
    const int32_t hairTop = ctx.headUp;
    ASSERT_GT(hairTop, 0);
    EXPECT_NE(first.find("其中headUp= " + std::to_string(hairTop) + " "), std::string::npos) << first;
    ctx.headUp = 77;
    const std::string second = headUpLine(JudgePhoto(ctx, dir.file("bald.jpg"), Unreadable::Raise));
    EXPECT_NE(second.find("其中headUp= 77 "), std::string::npos) << second;
    EXPECT_EQ(ctx.headUp, 77);
}

TEST_F(JudgePhotoTest, SettingsReachTheContext) {
    applySettings(ctx, {true, true, {1, 2, 3, 4, 5}});
    EXPECT_TRUE(ctx.cbDebug);
    EXPECT_TRUE(ctx.cbEyesLets);
    EXPECT_EQ(ctx.params.ParamFileSizeKb, 1);
    EXPECT_EQ(ctx.params.ParamHeadRatio, 5);
}

}  // namespace
}  // namespace photocheck
