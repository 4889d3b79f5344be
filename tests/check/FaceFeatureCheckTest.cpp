#include <gtest/gtest.h>

#include "check/FaceFeatureCheck.h"
#include "tests/check/FacePhoto.h"

namespace photocheck {
namespace {

using namespace test;

constexpr Colour Black = makeColour(0, 0, 0);
constexpr Colour White = makeColour(255, 255, 255);

std::string joined(const std::vector<int>& entries) {
    std::string text;
    for (size_t k = 0; k < entries.size(); ++k) text += (k ? " ," : "") + std::to_string(entries[k]);
    return text;
}

bool isCatchlightRow(int y) {
    return y >= CatchlightTop && y <= CatchlightBottom;
}
bool inCatchlight(int x, int from) {
    return x >= from && x <= from + 3;
}

// The row profile of the standard face, rows 283 up to 163: the mouth's 40 columns, then the eyes'
// 80 columns less the 12 catchlight columns on the catchlight rows.
std::string standardRowProfile() {
    std::vector<int> entries;
    for (int y = 283; y >= 163; --y) {
        int dark = 0;
        if (y >= 264 && y <= 271) dark = 40;
        if (y >= EyeTop && y <= EyeBottom) dark = isCatchlightRow(y) ? 80 - 12 : 80;
        entries.push_back(dark);
    }
    return joined(entries);
}

// The column profile of the standard face over columns 115 to 275 and the band rows 215 to 231: 16
// eye rows, 12 in catchlight columns.
std::string standardColumnProfile() {
    std::vector<int> entries;
    for (int x = 115; x <= 275; ++x) {
        const bool eye = (x >= LeftEyeFrom && x <= LeftEyeTo) || (x >= RightEyeFrom && x <= RightEyeTo);
        const bool light = inCatchlight(x, LeftCatchlight) || inCatchlight(x, RightCatchlight1) ||
                           inCatchlight(x, RightCatchlight2);
        entries.push_back(!eye ? 0 : light ? 12 : 16);
    }
    return joined(entries);
}

struct FaceFeatureCheckTest : ::testing::Test {
    CheckContext ctx;

    void SetUp() override {
        ctx.params.ParamHeadRatio = 60;
        ctx.params.ParamRegularity = 90;
        ctx.headUp = 7;
        ctx.cbDebug = true;
    }
    bool check(const Bitmap& photo) {
        ctx.orgImage.assign(photo);
        return FaceFeatureCheck(ctx);
    }
    const std::vector<std::string>& log() const { return ctx.Memo2.lines(); }
};

TEST_F(FaceFeatureCheckTest, StandardFacePassesWithEveryMeasureAndDebugLine) {
    EXPECT_TRUE(check(standardFace()));
    EXPECT_EQ(",headPercent,regularPercent,eyeLeftlet,eyeRightlet", ctx.row.columns);
    // Edges 142 and 250: distance 109, head 382 (67.4 %), centre 196 (194 / 196 = 99 %).
    EXPECT_EQ(",67,99,1,2", ctx.row.values);
    EXPECT_EQ("  端正比=99%  右眼瞳孔=2个", ctx.row.line);
    const std::vector<std::string> expected{
        "水平投影区域： X1=125  X2=265  Y1=163  Y2=283",
        "原始各行水平投影数据：" + standardRowProfile(),
        "眼高=16",
        "双眼中心所在Y位置=223   其中上边界位置=215   其中下边界位置=231",
        "阀值处理：  MidPix=50   blackCnt=1232",
        "垂直投影，二值化区域： X1=115  X2=275  Y1=215  Y2=231",
        "各列垂直投影数据：" + standardColumnProfile(),
        " 双眼间的距离= 109  ,其中左边=142  ,右边=250",
        " 头部高度= 382   其中headUp= 7  , headLow=0",
        "头部高度比= 67 %",
        "双眼中心所在X位置=196   其中左眼右边界位置=142   其中右眼左边界位置=250",
        "双眼中心坐标  X=196  Y=223  端正比=99%",
        "左下角皮肤色百分比=0",
        "eyesVMax=16 , eyesVMaxX=137",
        "左眼瞳孔，        第1个   X=150  Y=223",
        "eyesVMax=16 , eyesVMaxX=216",
        "找到右眼瞳孔，        第1个   X=225  Y=223        第2个   X=240  Y=223",
    };
    EXPECT_EQ(expected, log());
}

TEST_F(FaceFeatureCheckTest, DebugModeOffWritesTheSameColumnsAndNoLines) {
    ctx.cbDebug = false;
    EXPECT_TRUE(check(standardFace()));
    EXPECT_EQ(",headPercent,regularPercent,eyeLeftlet,eyeRightlet", ctx.row.columns);
    EXPECT_EQ(",67,99,1,2", ctx.row.values);
    EXPECT_EQ("", ctx.row.line);
    EXPECT_EQ(0, ctx.Memo2.count());
}

TEST_F(FaceFeatureCheckTest, BinarisedPhotoGoesToMyImageAndTheOriginalStays) {
    Bitmap photo = standardFace();
    photo.setPixel(5, 5, makeColour(50, 50, 50));  // gray level equal to MidPix 50
    photo.setPixel(6, 5, makeColour(51, 51, 51));
    check(photo);
    const Bitmap& binarised = ctx.MyImage.picture();
    EXPECT_EQ(Black, binarised.pixel(5, 5));
    EXPECT_EQ(White, binarised.pixel(6, 5));
    EXPECT_EQ(Black, binarised.pixel(140, 220));
    EXPECT_EQ(White, binarised.pixel(151, 221));
    EXPECT_EQ(White, binarised.pixel(10, 10));
    EXPECT_EQ(Black, binarised.pixel(10, 500));  // clothing, gray 40
    EXPECT_EQ(photo, ctx.orgImage.picture());
}

TEST_F(FaceFeatureCheckTest, PhotoWithoutDarkRowUsesRowZeroAsTheEyeBand) {
    ctx.params.ParamHeadRatio = 1;
    ctx.params.ParamRegularity = 0;
    EXPECT_FALSE(check(blankPhoto()));
    // Both halves empty: distance 1, head 4, 1 %; centre 0; the gray corner matches the gray skin.
    EXPECT_EQ(",headPercent,regularPercent,reason", ctx.row.columns);
    EXPECT_EQ(",1,0,'不能穿低胸装'", ctx.row.values);
    EXPECT_EQ("  端正比=0%", ctx.row.line);
    ASSERT_EQ(13, ctx.Memo2.count());
    EXPECT_EQ("原始各行水平投影数据：" + joined(std::vector<int>(121, 0)), log()[1]);
    EXPECT_EQ("眼高=0", log()[2]);
    EXPECT_EQ("双眼中心所在Y位置=0   其中上边界位置=0   其中下边界位置=0", log()[3]);
    EXPECT_EQ("阀值处理：  MidPix=100   blackCnt=0", log()[4]);
    EXPECT_EQ("垂直投影，二值化区域： X1=115  X2=275  Y1=0  Y2=0", log()[5]);
    EXPECT_EQ(" 双眼间的距离= 1  ,其中左边=0  ,右边=0", log()[7]);
    EXPECT_EQ(" 头部高度= 4   其中headUp= 7  , headLow=0", log()[8]);
    EXPECT_EQ("头部高度比= 1 %", log()[9]);
    EXPECT_EQ("双眼中心坐标  X=0  Y=0  端正比=0%", log()[11]);
    EXPECT_EQ("左下角皮肤色百分比=100", log()[12]);
}

TEST_F(FaceFeatureCheckTest, HeadPercentBelowTheThresholdFailsWithoutUprightness) {
    ctx.params.ParamHeadRatio = 2;
    EXPECT_FALSE(check(blankPhoto()));
    EXPECT_EQ(",headPercent,reason", ctx.row.columns);
    EXPECT_EQ(",1,'头部高度要大于等于2'", ctx.row.values);
    EXPECT_EQ("", ctx.row.line);
    EXPECT_EQ("头部高度比= 1 %", log().back());
    EXPECT_EQ(White, ctx.MyImage.picture().pixel(0, 0));  // binarised before the head was measured
}

TEST_F(FaceFeatureCheckTest, HeadPercentEqualToTheThresholdPasses) {
    ctx.params.ParamHeadRatio = 67;
    EXPECT_TRUE(check(standardFace()));
    ctx.row.clear();
    ctx.params.ParamHeadRatio = 68;
    EXPECT_FALSE(check(standardFace()));
    EXPECT_EQ(",67,'头部高度要大于等于68'", ctx.row.values);
}

TEST_F(FaceFeatureCheckTest, UprightnessBelowTheThresholdFailsWithoutTheCentreReport) {
    ctx.params.ParamRegularity = 99;
    EXPECT_TRUE(check(standardFace()));
    ctx.row.clear();
    ctx.Memo2.clear();
    ctx.params.ParamRegularity = 100;
    EXPECT_FALSE(check(standardFace()));
    EXPECT_EQ(",headPercent,regularPercent,reason", ctx.row.columns);
    EXPECT_EQ(",67,99,'身体不正'", ctx.row.values);
    EXPECT_EQ("  端正比=99%", ctx.row.line);
    EXPECT_EQ("头部高度比= 67 %", log().back());
}

TEST_F(FaceFeatureCheckTest, DarkRunOf36RowsBelowTheEyesFailsAtOnce) {
    Bitmap photo = standardFace();
    fillRect(photo, 190, 240, 199, 275, EyeDark);  // narrow, rows 240 to 275
    const Bitmap previous(10, 10, Black);
    ctx.MyImage.assign(previous);
    EXPECT_FALSE(check(photo));
    EXPECT_EQ(",reason", ctx.row.columns);
    EXPECT_EQ(",'佩戴眼镜或头歪斜' ", ctx.row.values);
    EXPECT_EQ(2, ctx.Memo2.count());
    EXPECT_EQ(previous, ctx.MyImage.picture());
}

// The gray levels the stages share are worked out again for a picture painted after a check.
TEST_F(FaceFeatureCheckTest, PhotoPaintedOnAfterACheckIsMeasuredAgain) {
    ASSERT_TRUE(check(standardFace()));
    fillRect(ctx.orgImage.canvas(), 190, 240, 199, 275, EyeDark);
    ctx.row.clear();
    EXPECT_FALSE(FaceFeatureCheck(ctx));
    EXPECT_EQ(",'佩戴眼镜或头歪斜' ", ctx.row.values);
}

TEST_F(FaceFeatureCheckTest, DarkRunOf35RowsIsTheEyeLine) {
    Bitmap photo = blankPhoto();
    fillRect(photo, 140, 200, 250, 234, EyeDark);
    check(photo);
    EXPECT_EQ("眼高=35", log()[2]);  // centre 234 - 36 / 2 + 0.5 cut to 216
    EXPECT_EQ("双眼中心所在Y位置=216   其中上边界位置=199   其中下边界位置=234", log()[3]);
}

TEST_F(FaceFeatureCheckTest, SkinOn81PercentOfTheCornerFails) {
    // The skin reference below the eye centre (196, 224) is the backdrop.
    const auto faceWithSkin = [](int skinPixels) {
        Bitmap photo = standardFace();
        int painted = 0;
        for (int y = 520; y < PhotoHeight; ++y)
            for (int x = 370; x < PhotoWidth; ++x)
                photo.setPixel(x, y, painted++ < skinPixels ? Backdrop : Clothing);
        return photo;
    };
    EXPECT_FALSE(check(faceWithSkin(762)));
    EXPECT_EQ(",headPercent,regularPercent,reason", ctx.row.columns);
    EXPECT_EQ(",67,99,'不能穿低胸装'", ctx.row.values);
    EXPECT_EQ("左下角皮肤色百分比=81", log().back());
    ctx.row.clear();
    EXPECT_TRUE(check(faceWithSkin(761)));
    EXPECT_EQ(",67,99,1,2", ctx.row.values);
}

TEST_F(FaceFeatureCheckTest, TwoLeftMarksPassAtOnceWithoutRightColumn) {
    Bitmap photo = standardFace();
    paintCatchlight(photo, 160);
    EXPECT_TRUE(check(photo));
    EXPECT_EQ(",headPercent,regularPercent,eyeLeftlet", ctx.row.columns);
    EXPECT_EQ(",67,99,2", ctx.row.values);
    EXPECT_EQ("  端正比=99%  左眼瞳孔=2个", ctx.row.line);
    EXPECT_EQ("左眼瞳孔，        第1个   X=150  Y=223        第2个   X=160  Y=223", log().back());
}

// The standard face with one catchlight per eye. Right edge: plateau over entries 114 to 140,
// 115 + 114 + 13 = 242; distance 101, head 354 (62.4 %), centre 192 (192 / 198 = 97 %).
Bitmap oneMarkPerEye() {
    Bitmap photo = standardFace();
    fillRect(photo, RightCatchlight2, CatchlightTop, RightCatchlight2 + 3, CatchlightBottom, EyeDark);
    return photo;
}

TEST_F(FaceFeatureCheckTest, OneMarkPerEyeFailsWhenPupilsAreJudged) {
    ctx.cbEyesLets = true;
    EXPECT_FALSE(check(oneMarkPerEye()));
    EXPECT_EQ(",headPercent,regularPercent,eyeLeftlet,eyeRightlet,reason", ctx.row.columns);
    EXPECT_EQ(",62,97,1,1,'右眼瞳孔必须不小于2个'", ctx.row.values);
    EXPECT_EQ("  端正比=97%  右眼瞳孔=1个", ctx.row.line);
    EXPECT_EQ("找到右眼瞳孔，        第1个   X=225  Y=223", log().back());
}

TEST_F(FaceFeatureCheckTest, OneMarkPerEyePassesWhenPupilsAreNotJudged) {
    ctx.cbEyesLets = false;
    EXPECT_TRUE(check(oneMarkPerEye()));
    EXPECT_EQ(",headPercent,regularPercent,eyeLeftlet,eyeRightlet", ctx.row.columns);
    EXPECT_EQ(",62,97,1,1", ctx.row.values);
}

TEST_F(FaceFeatureCheckTest, NoDarkColumnsAnywhereGivesNoMarks) {
    ctx.params.ParamHeadRatio = 1;
    ctx.params.ParamRegularity = 0;
    Bitmap photo = blankPhoto();
    fillRect(photo, 370, 520, PhotoWidth - 1, PhotoHeight - 1, Clothing);
    EXPECT_TRUE(check(photo));
    EXPECT_EQ(",1,0,0,0", ctx.row.values);
    ctx.row.clear();
    ctx.cbEyesLets = true;
    EXPECT_FALSE(check(photo));
    EXPECT_EQ(",1,0,0,0,'右眼瞳孔必须不小于2个'", ctx.row.values);
}

// Only a left eye, and a faint shadow at columns 230 to 240 that widens the eye line (gray 75 is dark
// at 80) but is white once blackCnt 800 has lowered the threshold to 70: the right half of the column
// profile stays empty. Edges 142 and 0: distance -141, head -493, -86 %; centre 71, 71 / 319 = 22 %.
TEST_F(FaceFeatureCheckTest, RightHalfWithoutDarkColumnScansTheLeftEyeFromColumnMinusTen) {
    Bitmap photo = blankPhoto();
    fillRect(photo, 0, 480, PhotoWidth - 1, PhotoHeight - 1, Clothing);
    fillRect(photo, LeftEyeFrom, EyeTop, LeftEyeTo, EyeBottom, EyeDark);
    paintCatchlight(photo, LeftCatchlight);
    fillRect(photo, 230, EyeTop, 240, EyeBottom, makeColour(75, 75, 75));
    ctx.params.ParamHeadRatio = -86;
    ctx.params.ParamRegularity = 0;
    ctx.cbEyesLets = true;
    EXPECT_FALSE(check(photo));
    EXPECT_EQ(",-86,22,1,1,'右眼瞳孔必须不小于2个'", ctx.row.values);
    EXPECT_EQ("阀值处理：  MidPix=70   blackCnt=800", log()[4]);
    const std::vector<std::string> tail(log().end() - 4, log().end());
    const std::vector<std::string> expected{
        "eyesVMax=16 , eyesVMaxX=137",
        "左眼瞳孔，        第1个   X=150  Y=223",
        "eyesVMax=0 , eyesVMaxX=0",
        "找到右眼瞳孔，        第1个   X=150  Y=223",
    };
    EXPECT_EQ(expected, tail);
}

TEST_F(FaceFeatureCheckTest, EmptyPhotoViewRaisesTheScanLineError) {
    ctx.orgImage.clear();
    EXPECT_THROW(FaceFeatureCheck(ctx), ScanLineError);
}

}  // namespace
}  // namespace photocheck
