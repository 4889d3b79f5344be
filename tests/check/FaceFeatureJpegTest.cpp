#include <gtest/gtest.h>

#include "check/FaceFeatureCheck.h"
#include "check/FileCheck.h"
#include "imaging/Jpeg.h"
#include "tests/check/FacePhoto.h"

namespace photocheck {
namespace {

using namespace test;

// The standard face is drawn in grays (so the chroma planes are flat) with its eyes and mouth on
// 8-pixel block edges; only the catchlights sit inside blocks, where a high-quality encoding moves
// levels by a few steps, far from every threshold the stage uses.
struct FaceFeatureJpegTest : ::testing::Test {
    TempDir dir;
    CheckContext ctx;

    void SetUp() override {
        ctx.params.ParamHeadRatio = 60;
        ctx.params.ParamRegularity = 90;
        ctx.cbDebug = true;
    }
    std::string writeFace(const Bitmap& face, const JpegWriteOptions& options = {.quality = 100}) {
        std::string path = dir.file("face.jpg");
        writeJpeg(face, path, options);
        return path;
    }
    std::string kb(const std::string& path) { return std::to_string(readFile(path).size() / 1024); }
};

TEST_F(FaceFeatureJpegTest, DecodedStandardFaceGivesTheDrawnMeasures) {
    const std::string path = writeFace(standardFace());
    ASSERT_TRUE(FileCheck(ctx, path));
    EXPECT_TRUE(FaceFeatureCheck(ctx));
    EXPECT_EQ(",mode,pix,Picsize,headPercent,regularPercent,eyeLeftlet,eyeRightlet", ctx.row.columns);
    EXPECT_EQ(", ' jpg ' , ' 390*567 ' ," + kb(path) + ",67,99,1,2", ctx.row.values);
    EXPECT_EQ("  jpg  390*567  " + kb(path) + "K  端正比=99%  右眼瞳孔=2个", ctx.row.line);
    const std::vector<std::string> tail(ctx.Memo2.lines().end() - 5, ctx.Memo2.lines().end());
    const std::vector<std::string> expected{
        "左下角皮肤色百分比=0",
        "eyesVMax=16 , eyesVMaxX=137",
        "左眼瞳孔，        第1个   X=150  Y=223",
        "eyesVMax=16 , eyesVMaxX=216",
        "找到右眼瞳孔，        第1个   X=225  Y=223        第2个   X=240  Y=223",
    };
    EXPECT_EQ(expected, tail);
    EXPECT_EQ("阀值处理：  MidPix=50   blackCnt=1232", ctx.Memo2.line(4));
}

TEST_F(FaceFeatureJpegTest, DecodedFaceWithOneMarkPerEyeFailsWhenPupilsAreJudged) {
    Bitmap face = standardFace();
    fillRect(face, RightCatchlight2, CatchlightTop, RightCatchlight2 + 3, CatchlightBottom, EyeDark);
    ctx.cbEyesLets = true;
    const std::string path = writeFace(face);
    ASSERT_TRUE(FileCheck(ctx, path));
    EXPECT_FALSE(FaceFeatureCheck(ctx));
    EXPECT_EQ(", ' jpg ' , ' 390*567 ' ," + kb(path) + ",62,97,1,1,'右眼瞳孔必须不小于2个'", ctx.row.values);
}

TEST_F(FaceFeatureJpegTest, GrayscaleJpegIsMeasuredOnItsThreeEqualChannels) {
    const std::string path = writeFace(standardFace(), {.quality = 100, .grayscale = true});
    ASSERT_TRUE(FileCheck(ctx, path));
    EXPECT_TRUE(FaceFeatureCheck(ctx));
    EXPECT_EQ(", ' jpg ' , ' 390*567 ' ," + kb(path) + ",67,99,1,2", ctx.row.values);
}

}  // namespace
}  // namespace photocheck
