#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "imaging/ColourModel.h"
#include "tests/support/TestSupport.h"
#include "tools/samplegen/IdPhotoPainter.h"
#include "tools/samplegen/SampleSet.h"

namespace photocheck {
namespace {

using samplegen::paintIdPhoto;
using samplegen::PhotoSpec;
using samplegen::SampleRecipe;

int grayAt(const Bitmap& b, int x, int y) {
    const Colour c = b.pixel(x, y);
    return GrayLevel(redOf(c), greenOf(c), blueOf(c));
}

bool lightBlue(Colour c) {
    Hsv hsv;
    RgbToHsv(hsv, redOf(c), greenOf(c), blueOf(c));
    return hsv.h >= 190 && hsv.h < 230 && hsv.s > 57;
}

// The tallest run of consecutive rows of the eye window (columns 125-264, rows 163-283) that hold a
// pixel darker than gray 80.
int tallestDarkRun(const Bitmap& b) {
    int tallest = 0, run = 0;
    for (int y = 163; y <= 283; ++y) {
        bool dark = false;
        for (int x = 125; x < 265 && !dark; ++x) dark = grayAt(b, x, y) < 80;
        run = dark ? run + 1 : 0;
        tallest = std::max(tallest, run);
    }
    return tallest;
}

TEST(IdPhotoPainter, SameSpecPaintsTheSamePixels) {
    PhotoSpec spec;
    spec.seed = 7;
    EXPECT_EQ(paintIdPhoto(spec), paintIdPhoto(spec));
}

TEST(IdPhotoPainter, AnotherSeedGivesOtherGrain) {
    PhotoSpec a, b;
    a.seed = 1;
    b.seed = 2;
    EXPECT_NE(paintIdPhoto(a), paintIdPhoto(b));
}

TEST(IdPhotoPainter, PaintsTheRequestedSize) {
    PhotoSpec spec;
    spec.width = 358;
    spec.height = 441;
    const Bitmap photo = paintIdPhoto(spec);
    EXPECT_EQ(photo.width(), 358);
    EXPECT_EQ(photo.height(), 441);
}

TEST(IdPhotoPainter, RejectsAnEmptySize) {
    PhotoSpec spec;
    spec.width = 0;
    EXPECT_THROW(paintIdPhoto(spec), std::invalid_argument);
}

TEST(IdPhotoPainter, TopBandIsLightBlueAcrossTheWholeWidth) {
    const Bitmap photo = paintIdPhoto(PhotoSpec{});
    for (int y = 5; y <= 10; ++y)
        for (int x = 0; x < photo.width(); ++x) ASSERT_TRUE(lightBlue(photo.pixel(x, y))) << x << "," << y;
}

TEST(IdPhotoPainter, ShadowTurnsTheLeftEdgeGreyAndLeavesTheRightBlue) {
    PhotoSpec spec;
    spec.shadowWidth = 150;
    const Bitmap photo = paintIdPhoto(spec);
    EXPECT_FALSE(lightBlue(photo.pixel(0, 8)));
    EXPECT_FALSE(lightBlue(photo.pixel(40, 8)));
    EXPECT_TRUE(lightBlue(photo.pixel(389, 8)));
}

TEST(IdPhotoPainter, HairBeginsWellBelowTheTopBandAndStandsOutFromTheWall) {
    const Bitmap photo = paintIdPhoto(PhotoSpec{});
    int wall = 0;
    for (int x = 0; x < photo.width(); ++x) wall += grayAt(photo, x, 5);
    wall /= photo.width();
    int firstHairRow = -1;
    for (int y = 0; y < 283 && firstHairRow < 0; ++y) {
        int differing = 0;
        for (int x = 40; x <= 350; ++x) differing += std::abs(grayAt(photo, x, y) - wall) > 80;
        if (differing > 80) firstHairRow = y;
    }
    EXPECT_GE(firstHairRow, 60);
    EXPECT_LE(firstHairRow, 90);
}

TEST(IdPhotoPainter, EachPupilIsDarkWithTwoCatchLightsAboveItsMiddle) {
    PhotoSpec spec;
    spec.grain = 0;
    const Bitmap photo = paintIdPhoto(spec);
    for (const int eye : {149, 241}) {
        EXPECT_LT(grayAt(photo, eye, 234), 40) << eye;       // the pupil below the lights
        EXPECT_GT(grayAt(photo, eye - 5, 229), 200) << eye;  // left catch-light
        EXPECT_GT(grayAt(photo, eye + 5, 229), 200) << eye;  // right catch-light
        EXPECT_LT(grayAt(photo, eye, 229), 40) << eye;       // the dark gap between them
        EXPECT_LT(grayAt(photo, eye - 5, 226), 80) << eye;   // iris above the lights
    }
    spec.catchLights = false;
    EXPECT_LT(grayAt(paintIdPhoto(spec), 144, 229), 80);
}

TEST(IdPhotoPainter, EyesAloneMakeAShortDarkBandAndGlassesATallOne) {
    PhotoSpec spec;
    const int eyes = tallestDarkRun(paintIdPhoto(spec));
    EXPECT_GE(eyes, 8);
    EXPECT_LE(eyes, 35);
    spec.glasses = true;
    EXPECT_GT(tallestDarkRun(paintIdPhoto(spec)), 35);
    spec.glasses = false;
    spec.headTiltDegrees = 10;
    EXPECT_GT(tallestDarkRun(paintIdPhoto(spec)), 35);
}

TEST(IdPhotoPainter, BareShouldersPutTheFaceSkinIntoTheLowerRightCorner) {
    PhotoSpec spec;
    spec.grain = 0;
    EXPECT_NE(paintIdPhoto(spec).pixel(380, 545), spec.skin);
    spec.bareShoulders = true;
    const Bitmap photo = paintIdPhoto(spec);
    EXPECT_EQ(photo.pixel(380, 545), spec.skin);
    EXPECT_EQ(photo.pixel(195, 233), spec.skin);  // just below the eyes' centre
}

TEST(IdPhotoPainter, GrainShiftsTheChannelsTogether) {
    PhotoSpec plain;
    plain.grain = 0;
    const Colour before = paintIdPhoto(plain).pixel(195, 520);  // the shirt
    ASSERT_EQ(before, plain.shirt);
    const Colour after = paintIdPhoto(PhotoSpec{}).pixel(195, 520);
    const int shift = redOf(after) - redOf(before);
    EXPECT_EQ(greenOf(after) - greenOf(before), shift);
    EXPECT_EQ(blueOf(after) - blueOf(before), shift);
}

TEST(BundledSamples, CoverAPassAndEveryReasonWithUniqueNames) {
    std::set<std::string> names, reasons;
    for (const SampleRecipe& s : samplegen::bundledSamples()) {
        EXPECT_TRUE(names.insert(s.fileName).second) << s.fileName;
        reasons.insert(s.reason);
        reasons.insert(s.reasonJudgingPupils);
    }
    const std::set<std::string> expected = {"",
                                            "照片格式必须是JPG",
                                            "照片像素必须是390*567",
                                            "文件小于30KB",
                                            "头部过高了",
                                            "背景不是浅蓝色",
                                            "照片清晰度不够",
                                            "佩戴眼镜或头歪斜",
                                            "头部高度要大于等于50",
                                            "身体不正",
                                            "不能穿低胸装",
                                            "右眼瞳孔必须不小于2个"};
    EXPECT_EQ(reasons, expected);
}

TEST(BundledSamples, CommittedFilesAreWhatTheGeneratorWrites) {
    test::TempDir dir;
    for (const SampleRecipe& s : samplegen::bundledSamples()) {
        samplegen::writeSample(s, dir.path());
        const std::string committed = std::string(PHOTOCHECK_SOURCE_DIR) + "/samples/" + s.fileName;
        ASSERT_TRUE(test::fileExists(committed)) << committed;
        EXPECT_TRUE(test::readFile(committed) == test::readFile(dir.file(s.fileName)))
            << s.fileName << " differs from its recipe: run make-samples samples/";
    }
}

}  // namespace
}  // namespace photocheck
