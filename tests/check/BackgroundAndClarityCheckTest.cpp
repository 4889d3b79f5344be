#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/BackgroundAndClarityCheck.h"
#include "check/FileCheck.h"
#include "imaging/ColourModel.h"
#include "imaging/Extended.h"
#include "imaging/Jpeg.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

const Colour LightBlue = makeColour(100, 160, 230);  // H 212, S 144
const Colour Hue232 = makeColour(100, 119, 240);     // H 232, S 149
const Colour Dark = makeColour(40, 30, 20);
const std::string Equals49(49, '=');

Colour gray(int level) {
    return makeColour(level, level, level);
}

Bitmap photo(Colour fill = gray(120)) {
    return Bitmap(PhotoWidth, PhotoHeight, fill);
}

// Paints columns x1 to x2 of the top band, rows 5 to 10.
void paintBand(Bitmap& b, int x1, int x2, Colour c) {
    test::fillRect(b, x1, 5, x2, 10, c);
}

std::string regionLine(int x1, int x2, int y1, int y2) {
    return "找头发区域： X1=" + std::to_string(x1) + "   X2=" + std::to_string(x2) +
           "   Y1=" + std::to_string(y1) + "   Y2=" + std::to_string(y2);
}

std::string clarityLine(int percent, int total, int same) {
    return "清晰度=" + std::to_string(percent) + "%   测试总像素=" + std::to_string(total) +
           "   同像素个数=" + std::to_string(same);
}

// A uniform 81 x 41 region (hair or middle) is capped at 6642 - 200.
std::vector<std::string> uniformBlock(int x1, int y1) {
    return {Equals49, regionLine(x1, x1 + 80, y1, y1 + 40), clarityLine(3, 6642, 6442)};
}

// The uniform lower region is 81 x 51: 8262 levels, capped at 8062.
std::vector<std::string> uniformLowerBlock() {
    return {Equals49, regionLine(155, 235, 333, 383), clarityLine(2, 8262, 8062)};
}

std::vector<std::string> joined(const std::vector<std::vector<std::string>>& blocks,
                                const std::string& last) {
    std::vector<std::string> lines;
    for (const auto& block : blocks) lines.insert(lines.end(), block.begin(), block.end());
    lines.push_back(last);
    return lines;
}

struct BackgroundAndClarityCheckTest : ::testing::Test {
    CheckContext ctx;

    void SetUp() override {
        ctx.params.ParamBlueRatio = 0;
        ctx.params.ParamClarity = 100000;
        ctx.headUp = 77;
    }
    bool check(Bitmap picture) {
        ctx.orgImage.assign(std::move(picture));
        return BackgroundAndClarityCheck(ctx);
    }
};

TEST_F(BackgroundAndClarityCheckTest, HeadTooHighWhenTheMiddleThirdOfTheTopBandIsNotBlue) {
    Bitmap picture = photo();
    paintBand(picture, 0, 389, LightBlue);
    paintBand(picture, 129, 259, Dark);
    ctx.params.ParamBlueRatio = 80;
    ctx.cbDebug = true;
    EXPECT_FALSE(check(picture));
    EXPECT_EQ(ctx.row.columns, ",reason");
    EXPECT_EQ(ctx.row.values, ",'头部过高了' ");
    EXPECT_EQ(ctx.row.line, "");
    EXPECT_EQ(ctx.Memo2.count(), 0);
    EXPECT_EQ(ctx.headUp, 77);
}

TEST_F(BackgroundAndClarityCheckTest, MiddleRatioAtTheThresholdIsNotHeadTooHigh) {
    // The middle third is wholly blue: 786 of 780 gives 101.
    Bitmap picture = photo();
    paintBand(picture, 0, 389, LightBlue);
    ctx.params.ParamBlueRatio = 101;
    EXPECT_FALSE(check(picture));
    EXPECT_EQ(ctx.row.values, ",100,'背景不是浅蓝色' ");
    ctx.row.clear();
    ctx.params.ParamBlueRatio = 102;
    EXPECT_FALSE(check(picture));
    EXPECT_EQ(ctx.row.values, ",'头部过高了' ");
}

TEST_F(BackgroundAndClarityCheckTest, ColumnC1CountsTwiceForTheSides) {
    ctx.params.ParamBlueRatio = 50;
    // 154 blue columns including c1 = 129: 930 of 1560 gives 60.
    Bitmap withC1 = photo();
    paintBand(withC1, 0, 129, LightBlue);
    paintBand(withC1, 366, 389, LightBlue);
    EXPECT_FALSE(check(withC1));
    EXPECT_EQ(ctx.row.values, ",'头部过高了' ");

    // 154 blue columns without c1: 924 gives 59, and the blue ratio 924 of 2340 is 39.
    ctx.row.clear();
    Bitmap withoutC1 = photo();
    paintBand(withoutC1, 0, 128, LightBlue);
    paintBand(withoutC1, 365, 389, LightBlue);
    EXPECT_FALSE(check(withoutC1));
    EXPECT_EQ(ctx.row.columns, ",bluePercent,reason");
    EXPECT_EQ(ctx.row.values, ",39,'背景不是浅蓝色' ");
}

TEST_F(BackgroundAndClarityCheckTest, SidesAcceptHue232FromColumnC1OnOnly) {
    ctx.params.ParamBlueRatio = 50;
    Bitmap everywhere = photo();
    paintBand(everywhere, 0, 389, Hue232);
    EXPECT_FALSE(check(everywhere));
    EXPECT_EQ(ctx.row.values, ",'头部过高了' ");

    // Hue 232 on columns 0 to 129 counts only at c1: (1 + 130) x 6 of 1560 gives 50.
    ctx.row.clear();
    Bitmap leftOnly = photo();
    paintBand(leftOnly, 0, 129, Hue232);
    paintBand(leftOnly, 260, 389, LightBlue);
    EXPECT_FALSE(check(leftOnly));
    EXPECT_EQ(ctx.row.values, ",33,'背景不是浅蓝色' ");
}

TEST_F(BackgroundAndClarityCheckTest, TopBandWithoutBlueFailsTheBackgroundWithRatioZero) {
    ctx.params.ParamBlueRatio = 80;
    ctx.cbDebug = true;
    EXPECT_FALSE(check(photo()));
    EXPECT_EQ(ctx.row.columns, ",bluePercent,reason");
    EXPECT_EQ(ctx.row.values, ",0,'背景不是浅蓝色' ");
    EXPECT_EQ(ctx.row.line, "  蓝比=0%");
    EXPECT_EQ(ctx.Memo2.count(), 0);
}

TEST_F(BackgroundAndClarityCheckTest, BlueRatioEqualToTheThresholdPassesAndOneBelowFails) {
    // 339 blue columns: 2034 of 2340 gives 87.
    Bitmap picture = photo();
    paintBand(picture, 0, 338, LightBlue);
    ctx.params.ParamBlueRatio = 87;
    EXPECT_TRUE(check(picture));
    EXPECT_EQ(ctx.row.columns, ",bluePercent,clarityPercent");
    EXPECT_EQ(ctx.row.values.substr(0, 4), ",87,");
    EXPECT_EQ(ctx.row.line, "  蓝比=87%");

    ctx.row.clear();
    ctx.params.ParamBlueRatio = 88;
    EXPECT_FALSE(check(picture));
    EXPECT_EQ(ctx.row.values, ",87,'背景不是浅蓝色' ");
}

TEST_F(BackgroundAndClarityCheckTest, UniformPhotoLogsThreeRegionsInDebugMode) {
    ctx.cbDebug = true;
    ctx.Memo2.add("earlier line");
    ctx.params.ParamClarity = 6442;
    const Bitmap picture = photo();
    EXPECT_TRUE(check(picture));
    EXPECT_EQ(ctx.row.columns, ",bluePercent,clarityPercent");
    EXPECT_EQ(ctx.row.values, ",0,6442");
    EXPECT_EQ(ctx.row.line, "  蓝比=0%  清晰度=3%  清晰度=3%  清晰度=2%");
    std::vector<std::string> expected = {"earlier line"};
    for (const auto& line :
         joined({uniformBlock(0, 0), uniformBlock(155, 223), uniformLowerBlock()}, "最终的清晰=6442"))
        expected.push_back(line);
    EXPECT_EQ(ctx.Memo2.lines(), expected);
    EXPECT_EQ(ctx.headUp, 77);  // no hair row
    EXPECT_EQ(ctx.orgImage.picture(), picture);
}

TEST_F(BackgroundAndClarityCheckTest, ClarityAboveTheThresholdFailsWithoutBlank) {
    ctx.params.ParamClarity = 6441;
    EXPECT_FALSE(check(photo()));
    EXPECT_EQ(ctx.row.columns, ",bluePercent,clarityPercent,reason");
    EXPECT_EQ(ctx.row.values, ",0,6442,'照片清晰度不够'");
}

TEST_F(BackgroundAndClarityCheckTest, WithoutDebugModeNoLogLinesNorClarityFragments) {
    ctx.Memo2.add("earlier line");
    EXPECT_TRUE(check(photo()));
    EXPECT_EQ(ctx.row.values, ",0,6442");
    EXPECT_EQ(ctx.row.line, "  蓝比=0%");
    EXPECT_EQ(ctx.Memo2.lines(), std::vector<std::string>{"earlier line"});
}

// A dark block from column 40 on, starting at the given row: the hair.
Bitmap photoWithHairFrom(int topRow) {
    Bitmap picture = photo();
    test::fillRect(picture, 40, topRow, 350, PhotoHeight - 1, gray(0));
    return picture;
}

TEST_F(BackgroundAndClarityCheckTest, HairTopAtRow223StandsInForTheMiddleRegion) {
    ctx.cbDebug = true;
    ctx.params.ParamClarity = 0;
    EXPECT_TRUE(check(photoWithHairFrom(223)));
    EXPECT_EQ(ctx.headUp, 218);
    EXPECT_EQ(ctx.row.values, ",0,0");
    EXPECT_EQ(ctx.row.line, "  蓝比=0%  清晰度=3%  清晰度=2%");
    EXPECT_EQ(ctx.Memo2.lines(), joined({uniformBlock(43, 223), uniformLowerBlock()}, "最终的清晰=0"));
}

TEST_F(BackgroundAndClarityCheckTest, HairTopAtRow222MeasuresAllThreeRegions) {
    ctx.cbDebug = true;
    EXPECT_TRUE(check(photoWithHairFrom(222)));
    EXPECT_EQ(ctx.headUp, 217);
    EXPECT_EQ(ctx.row.values, ",0,6442");
    EXPECT_EQ(ctx.Memo2.lines(), joined({uniformBlock(43, 222), uniformBlock(155, 223), uniformLowerBlock()},
                                        "最终的清晰=6442"));
}

TEST_F(BackgroundAndClarityCheckTest, HairRegionStartsAtTheFourthDifferingPixel) {
    Bitmap picture = photo();
    for (int x : {41, 45, 52, 60}) test::fillRect(picture, x, 100, x, 140, gray(0));
    test::fillRect(picture, 70, 100, 300, 140, gray(0));
    ctx.cbDebug = true;
    EXPECT_TRUE(check(picture));
    EXPECT_EQ(ctx.headUp, 95);
    ASSERT_GE(ctx.Memo2.count(), 2);
    EXPECT_EQ(ctx.Memo2.line(1), regionLine(60, 140, 100, 140));
}

TEST_F(BackgroundAndClarityCheckTest, WithoutAHairRowTheRegionIsAtTheTopAndHeadUpIsKept) {
    // Rows with ten differing pixels each: too few for hair; the last of them places the region.
    Bitmap picture = photo();
    test::fillRect(picture, 100, 50, 109, 50, gray(0));
    test::fillRect(picture, 200, 60, 209, 60, gray(0));
    ctx.cbDebug = true;
    EXPECT_TRUE(check(picture));
    EXPECT_EQ(ctx.headUp, 77);
    ASSERT_GE(ctx.Memo2.count(), 2);
    EXPECT_EQ(ctx.Memo2.line(1), regionLine(203, 283, 0, 40));
}

TEST_F(BackgroundAndClarityCheckTest, BackgroundGrayIsTheRoundedUpMeanOfRow5) {
    // Row 5 averages 100.5, so the background gray is 101 and a level of 181 is not far enough from it.
    Bitmap picture = photo(gray(100));
    test::fillRect(picture, 195, 5, 389, 5, gray(101));
    test::fillRect(picture, 40, 100, 350, 140, gray(181));
    EXPECT_TRUE(check(picture));
    EXPECT_EQ(ctx.headUp, 77);

    test::fillRect(picture, 40, 100, 350, 140, gray(182));
    EXPECT_TRUE(check(picture));
    EXPECT_EQ(ctx.headUp, 95);
}

TEST_F(BackgroundAndClarityCheckTest, HairRegionPastTheRightEdgeReadsWhite) {
    // Four dark pixels in row 60 end at column 310, so the region spans columns 310 to 390. Its rows
    // have no equal neighbours up to column 387, then white at 388, 389 and outside the picture.
    Bitmap picture = photo(gray(100));
    for (int y = 0; y <= 40; ++y)
        for (int x = 310; x <= 387; ++x) picture.setPixel(x, y, gray(90 + (x + 2 * y) % 3));
    test::fillRect(picture, 388, 0, 389, 40, gray(255));
    test::fillRect(picture, 307, 60, 310, 60, gray(0));
    ctx.cbDebug = true;
    EXPECT_TRUE(check(picture));
    ASSERT_GE(ctx.Memo2.count(), 3);
    EXPECT_EQ(ctx.Memo2.line(1), regionLine(310, 390, 0, 40));
    // Each row: 2 for the white level read past its end; columns 388 to 390: 815 each.
    EXPECT_EQ(ctx.Memo2.line(2), clarityLine(62, 41 * 82 + 81 * 41, 41 * 2 + 3 * 815));
    EXPECT_EQ(ctx.row.values, ",0,2527");
}

TEST_F(BackgroundAndClarityCheckTest, EmptyPhotoViewRaisesAndAppendsNothing) {
    ctx.orgImage.clear();
    ctx.row.beginWithName("a01");
    ctx.cbDebug = true;
    try {
        BackgroundAndClarityCheck(ctx);
        FAIL() << "no error raised";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Scan line index out of range");
    }
    EXPECT_EQ(ctx.row.columns, "name");
    EXPECT_EQ(ctx.row.values, " ' a01 ' ");
    EXPECT_EQ(ctx.row.line, "");
    EXPECT_EQ(ctx.Memo2.count(), 0);
    EXPECT_EQ(ctx.headUp, 77);
    EXPECT_FALSE(ctx.orgImage.hasPicture());
}

TEST_F(BackgroundAndClarityCheckTest, BlankViewIsMeasuredLikeAPhotoOfItsOwnSize) {
    ctx.orgImage.clear();
    ctx.orgImage.canvas();  // 391 x 563 white
    ctx.cbDebug = true;
    EXPECT_TRUE(BackgroundAndClarityCheck(ctx));
    EXPECT_EQ(ctx.row.values, ",0,6442");
    ASSERT_EQ(ctx.Memo2.count(), 10);
    EXPECT_EQ(ctx.Memo2.line(1), regionLine(0, 80, 0, 40));
    EXPECT_EQ(ctx.Memo2.line(4), regionLine(155, 235, 221, 261));
    EXPECT_EQ(ctx.Memo2.line(7), regionLine(155, 235, 331, 381));
}

// The percentage of blue pixels in the top band of a decoded file, counted pixel by pixel.
int32_t decodedBluePercent(const std::string& path) {
    const Bitmap decoded = decodeJpeg(path);
    int blue = 0;
    for (int y = 5; y <= 10; ++y)
        for (int x = 0; x < decoded.width(); ++x) {
            const Colour c = decoded.pixel(x, y);
            Hsv hsv;
            RgbToHsv(hsv, redOf(c), greenOf(c), blueOf(c));
            blue += hsv.h >= 190 && hsv.h < 230 && hsv.s > 57 ? 1 : 0;
        }
    return ratioPercent(blue, 2340);
}

TEST(WorkedExampleTest, PhotoWithBlueRatio87BelowTheThresholdGivesTheExampleRow) {
    const test::TempDir dir;
    const std::string path = dir.file("a01.jpg");
    Bitmap picture = photo(LightBlue);
    test::fillRect(picture, 339, 0, 389, PhotoHeight - 1, makeColour(230, 120, 100));
    writeJpeg(picture, path, {.quality = 95});
    ASSERT_LT(test::readFile(path).size(), 45u * 1024);
    test::resizeFile(path, 45 * 1024);
    ASSERT_EQ(decodedBluePercent(path), 87);

    CheckContext ctx;
    ctx.params.ParamBlueRatio = 90;
    ctx.row.beginWithName("a01");
    ASSERT_TRUE(FileCheck(ctx, path));
    const bool passed = BackgroundAndClarityCheck(ctx);
    ctx.row.addVerdict(passed);
    ctx.row.addText("folderPath", dir.path());
    EXPECT_EQ(
        ctx.row.insertStatement(),
        "insert into pictureMsg (name,mode,pix,Picsize,bluePercent,reason,result,folderPath) values ( ' "
        "a01 ' , ' jpg ' , ' 390*567 ' ,45,87,'背景不是浅蓝色' ,'不合格' , ' " +
            dir.path() + " ' )");
}

}  // namespace
}  // namespace photocheck
