#include <gtest/gtest.h>

#include "check/EyeLine.h"
#include "check/HeadAndUprightness.h"
#include "tests/check/FacePhoto.h"

namespace photocheck {
namespace {

using test::EyeDark;
using test::fillRect;

constexpr int32_t X1 = 115;

std::vector<uint8_t> columnsWith(int from, int to, uint8_t value, int n = 161) {
    std::vector<uint8_t> p(static_cast<size_t>(n), 0);
    for (int k = from; k <= to; ++k) p[static_cast<size_t>(k)] = value;
    return p;
}

TEST(MidPixTest, EveryBoundaryOfTheTable) {
    EXPECT_EQ(100, adaptedMidPix(0));
    EXPECT_EQ(100, adaptedMidPix(249));
    EXPECT_EQ(90, adaptedMidPix(250));
    EXPECT_EQ(90, adaptedMidPix(399));
    EXPECT_EQ(80, adaptedMidPix(400));
    EXPECT_EQ(80, adaptedMidPix(649));
    EXPECT_EQ(70, adaptedMidPix(650));
    EXPECT_EQ(70, adaptedMidPix(899));
    EXPECT_EQ(60, adaptedMidPix(900));
    EXPECT_EQ(60, adaptedMidPix(1099));
    EXPECT_EQ(50, adaptedMidPix(1100));
    EXPECT_EQ(50, adaptedMidPix(5000));
}

TEST(BlackCountTest, CountsDarkPixelsOfTheBandWithBothEndsIncluded) {
    Bitmap b(10, 10);
    fillRect(b, 2, 3, 6, 5, EyeDark);          // 5 x 3 inside the band
    b.setPixel(1, 4, EyeDark);                 // left of the band
    b.setPixel(4, 6, EyeDark);                 // below the band
    b.setPixel(3, 3, makeColour(80, 80, 80));  // gray level 80 is not dark
    EXPECT_EQ(14, darkPixelsIn(GrayMap(b), Window{2, 6, 3, 5}, StartMidPix));
}

TEST(BinariseTest, GrayLevelEqualToMidPixBecomesBlackAndAboveWhite) {
    Bitmap b(3, 1);
    b.setPixel(0, 0, makeColour(70, 70, 70));
    b.setPixel(1, 0, makeColour(71, 71, 71));
    b.setPixel(2, 0, makeColour(0, 0, 255));  // gray level 28
    const Bitmap out = binarise(b, 70);
    EXPECT_EQ(makeColour(0, 0, 0), out.pixel(0, 0));
    EXPECT_EQ(makeColour(255, 255, 255), out.pixel(1, 0));
    EXPECT_EQ(makeColour(0, 0, 0), out.pixel(2, 0));
}

TEST(ColumnProfileTest, CountsTheRowsThatTheBinarisationMakesBlackInEachBandColumn) {
    Bitmap b(8, 6);  // white
    fillRect(b, 1, 1, 1, 4, makeColour(0, 0, 0));
    fillRect(b, 3, 0, 3, 5, makeColour(70, 70, 70));                 // gray level equal to MidPix: black
    fillRect(b, 4, 2, 4, 3, makeColour(71, 71, 71));                 // above it: white
    const std::vector<uint8_t> expected{4, 0, 4, 0, 0, 0, 0, 0, 0};  // columns 8 and 9 lie outside
    EXPECT_EQ(expected, columnProfile(GrayMap(b), Window{1, 9, 1, 4}, 70));
    const Bitmap binarised = binarise(b, 70);
    for (int x = 1; x <= 4; ++x) {
        int black = 0;
        for (int y = 1; y <= 4; ++y) black += binarised.pixel(x, y) == makeColour(0, 0, 0) ? 1 : 0;
        EXPECT_EQ(expected[static_cast<size_t>(x - 1)], black) << "column " << x;
    }
}

TEST(PlateauTest, LeftPlateauOverEntries10To13GivesItsLeftMiddle) {
    EXPECT_EQ(X1 + 11, leftEyeRightEdge(columnsWith(10, 13, 9), X1));
}

TEST(PlateauTest, RightPlateauOverEntries100To103GivesItsRightMiddle) {
    EXPECT_EQ(X1 + 102, rightEyeLeftEdge(columnsWith(100, 103, 9), X1));
}

TEST(PlateauTest, OddPlateauGivesItsMiddleInBothHalves) {
    EXPECT_EQ(X1 + 12, leftEyeRightEdge(columnsWith(10, 14, 9), X1));
    EXPECT_EQ(X1 + 102, rightEyeLeftEdge(columnsWith(100, 104, 9), X1));
}

TEST(PlateauTest, PlateauReachingTheMiddleIsNotCentred) {
    EXPECT_EQ(X1 + 79, leftEyeRightEdge(columnsWith(70, 90, 9), X1));  // h - 1 = 79
    EXPECT_EQ(X1 + 81, rightEyeLeftEdge(columnsWith(70, 90, 9), X1));  // h + 1 = 81
}

TEST(PlateauTest, MiddleEntryBelongsToNeitherHalf) {
    std::vector<uint8_t> p(161, 0);
    p[80] = 30;
    EXPECT_EQ(0, leftEyeRightEdge(p, X1));
    EXPECT_EQ(0, rightEyeLeftEdge(p, X1));
}

TEST(PlateauTest, FirstHighestPlateauWinsOnTheLeftAndLastOnTheRight) {
    std::vector<uint8_t> p(161, 0);
    for (int k : {5, 6, 20, 21, 22, 40}) p[static_cast<size_t>(k)] = 9;
    p[30] = 4;
    EXPECT_EQ(X1 + 5, leftEyeRightEdge(p, X1));  // 5..6: last 6, length 2
    for (int k : {100, 120, 121, 150}) p[static_cast<size_t>(k)] = 9;
    p[140] = 4;
    EXPECT_EQ(X1 + 150, rightEyeLeftEdge(p, X1));
}

TEST(PlateauTest, HigherLaterPlateauReplacesAnEarlierOne) {
    std::vector<uint8_t> p = columnsWith(10, 13, 9);
    for (int k = 14; k <= 16; ++k) p[static_cast<size_t>(k)] = 12;
    EXPECT_EQ(X1 + 15, leftEyeRightEdge(p, X1));
}

TEST(PlateauTest, AllZeroHalvesGiveZero) {
    const std::vector<uint8_t> p(161, 0);
    EXPECT_EQ(0, leftEyeRightEdge(p, X1));
    EXPECT_EQ(0, rightEyeLeftEdge(p, X1));
}

TEST(HeadHeightTest, EyeDistanceOneGivesHeadPercentOne) {
    EXPECT_EQ(4, headHeightOf(1));  // 3.5 + 0.5
    EXPECT_EQ(1, headPercentOf(4));
}

TEST(HeadHeightTest, EyeDistanceSixtyGivesThirtySevenPercent) {
    EXPECT_EQ(210, headHeightOf(60));
    EXPECT_EQ(37, headPercentOf(210));
}

TEST(HeadHeightTest, NegativeDistancesRoundTowardZero) {
    EXPECT_EQ(-493, headHeightOf(-141));  // -493.5 + 0.5
    EXPECT_EQ(-86, headPercentOf(-493));  // -86.95 + 0.5 cut toward zero
    EXPECT_EQ(-3, headHeightOf(-1));      // -3.5 + 0.5
}

TEST(HeadHeightTest, DivisorIsTheFixedPhotoHeight) {
    EXPECT_EQ(100, headPercentOf(567));
    EXPECT_EQ(50, headPercentOf(281));  // 49.56 + 0.5
}

TEST(UprightnessTest, CentreOnTheMiddleColumnIsHundred) {
    EXPECT_EQ(100, regularPercentOf(195));
}

TEST(UprightnessTest, CentreOffToEitherSideFallsAlike) {
    EXPECT_EQ(63, regularPercentOf(150));  // 150 / 240: 62.5 + 0.5
    EXPECT_EQ(63, regularPercentOf(240));
    EXPECT_EQ(99, regularPercentOf(196));  // 194 / 196
    EXPECT_EQ(0, regularPercentOf(0));
}

}  // namespace
}  // namespace photocheck
