#include <gtest/gtest.h>

#include "check/ClothingAndPupils.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using test::fillRect;

constexpr Colour Mid = makeColour(80, 80, 80);  // neither dark nor bright nor light enough
constexpr Colour Dark = makeColour(30, 30, 30);
constexpr Colour Bright = makeColour(250, 250, 250);
const Window Band{0, 0, 4, 15};  // rows 4 to 15; the scans take their columns apart

Bitmap midPicture(int width = 200) {
    return Bitmap(width, 20, Mid);
}

// Dark rows 12 to 15 with a two-row catchlight above (rows 10 and 11), closed by the mid colour of
// row 9: a mark at (x, 11).
void paintMark(Bitmap& b, int x) {
    fillRect(b, x, 12, x, 15, Dark);
    fillRect(b, x, 10, x, 11, Bright);
}

PupilCount scan(const Bitmap& b, int a, int last) {
    return PupilScan(b, a, last, Band, "左眼瞳孔，");
}

TEST(PixelTestsTest, DarkTestOnGreenAndBlue) {
    EXPECT_TRUE(passesDarkTest(makeColour(255, 69, 85)));
    EXPECT_FALSE(passesDarkTest(makeColour(0, 69, 86)));  // sum 155
    EXPECT_TRUE(passesDarkTest(makeColour(0, 100, 54)));
    EXPECT_FALSE(passesDarkTest(makeColour(0, 70, 70)));
}

TEST(PixelTestsTest, BrightTestOnGreenAndBlue) {
    EXPECT_TRUE(passesBrightTest(makeColour(0, 91, 85)));
    EXPECT_FALSE(passesBrightTest(makeColour(0, 91, 84)));  // sum 175
    EXPECT_TRUE(passesBrightTest(makeColour(0, 85, 91)));
    EXPECT_FALSE(passesBrightTest(makeColour(255, 90, 90)));
}

TEST(PixelTestsTest, LightEnoughFromSum180) {
    EXPECT_TRUE(lightEnoughToGoOn(makeColour(0, 90, 90)));
    EXPECT_FALSE(lightEnoughToGoOn(makeColour(255, 90, 89)));
}

TEST(PupilScanTest, MarksInNeighbouringColumnsCountOnce) {
    Bitmap b = midPicture();
    for (int x : {140, 141, 142}) paintMark(b, x);
    const PupilCount pupils = scan(b, 130, 160);
    EXPECT_EQ(1, pupils.count);
    EXPECT_EQ("左眼瞳孔，        第1个   X=140  Y=11", pupils.line);
}

TEST(PupilScanTest, MarksThreeColumnsApartCountTwice) {
    Bitmap b = midPicture();
    for (int x : {140, 143}) paintMark(b, x);
    const PupilCount pupils = scan(b, 130, 160);
    EXPECT_EQ(2, pupils.count);
    EXPECT_EQ("左眼瞳孔，        第1个   X=140  Y=11        第2个   X=143  Y=11", pupils.line);
}

TEST(PupilScanTest, EveryConfirmedMarkMovesTheSpacingOn) {
    Bitmap b = midPicture();
    for (int x : {140, 142, 144, 146}) paintMark(b, x);
    EXPECT_EQ(1, scan(b, 130, 160).count);
}

TEST(PupilScanTest, ScanStopsAtTheSecondMark) {
    Bitmap b = midPicture();
    for (int x : {140, 150, 160}) paintMark(b, x);
    const PupilCount pupils = scan(b, 130, 170);
    EXPECT_EQ(2, pupils.count);
    EXPECT_EQ("左眼瞳孔，        第1个   X=140  Y=11        第2个   X=150  Y=11", pupils.line);
}

TEST(PupilScanTest, ScanCoversColumnsAToBOnly) {
    Bitmap b = midPicture();
    for (int x : {140, 150}) paintMark(b, x);
    EXPECT_EQ(0, scan(b, 141, 149).count);
    EXPECT_EQ(1, scan(b, 141, 150).count);
    EXPECT_EQ("找到右眼瞳孔，", PupilScan(b, 141, 149, Band, "找到右眼瞳孔，").line);
}

TEST(PupilScanTest, BrightSpotReachingTheBandsTopRowIsNoMark) {
    Bitmap b = midPicture();
    fillRect(b, 140, 12, 140, 15, Dark);
    fillRect(b, 140, 5, 140, 11, Bright);  // light up to the row below the top row
    EXPECT_EQ(0, scan(b, 130, 160).count);
    b.setPixel(140, 4, Dark);  // a dark top row does not close it either
    EXPECT_EQ(0, scan(b, 130, 160).count);
}

TEST(PupilScanTest, RowJustBelowTheTopRowClosesAMark) {
    Bitmap b = midPicture();
    fillRect(b, 140, 12, 140, 15, Dark);
    fillRect(b, 140, 6, 140, 11, Bright);  // row 5 keeps the mid colour
    const PupilCount pupils = scan(b, 130, 160);
    EXPECT_EQ(1, pupils.count);
    EXPECT_EQ("左眼瞳孔，        第1个   X=140  Y=11", pupils.line);
}

TEST(PupilScanTest, BrightSpotOnTheBandsTopRowIsNoMark) {
    Bitmap b = midPicture();
    fillRect(b, 140, 5, 140, 15, Dark);
    fillRect(b, 140, 0, 140, 4, Bright);  // bright from the top row upward, outside the band too
    EXPECT_EQ(0, scan(b, 130, 160).count);
}

TEST(PupilScanTest, CatchlightNeedsABrightNeighbourAboveOrToTheRight) {
    Bitmap b = midPicture();
    fillRect(b, 140, 12, 140, 15, Dark);
    b.setPixel(140, 11, Bright);  // alone: no mark
    EXPECT_EQ(0, scan(b, 130, 140).count);
    b.setPixel(141, 11, Bright);  // bright to the right
    const PupilCount pupils = scan(b, 130, 140);
    EXPECT_EQ(1, pupils.count);
    EXPECT_EQ("左眼瞳孔，        第1个   X=140  Y=11", pupils.line);
}

TEST(PupilScanTest, NothingRightOfTheLastColumnIsBright) {
    Bitmap b = midPicture(150);
    fillRect(b, 149, 12, 149, 15, Dark);
    b.setPixel(149, 11, Bright);
    EXPECT_EQ(0, scan(b, 140, 149).count);
    b.setPixel(149, 10, Bright);
    EXPECT_EQ(1, scan(b, 140, 149).count);
}

TEST(PupilScanTest, ColumnsLeftOfThePictureHoldNoMark) {
    Bitmap b = midPicture();
    paintMark(b, 3);
    const PupilCount pupils = scan(b, -10, 3);
    EXPECT_EQ(1, pupils.count);
    EXPECT_EQ("左眼瞳孔，        第1个   X=3  Y=11", pupils.line);
    EXPECT_EQ(0, scan(b, -10, -1).count);
}

TEST(PupilScanTest, FirstMarkCountsOnlyThreeColumnsFromColumnZero) {
    Bitmap b = midPicture();
    paintMark(b, 2);
    EXPECT_EQ(0, scan(b, -10, 10).count);
}

std::vector<uint8_t> profile161() {
    return std::vector<uint8_t>(161, 0);
}

TEST(EyeBlockTest, LeftPeakLeavesOutTheStartEntry) {
    std::vector<uint8_t> p = profile161();
    p[1] = 20;
    p[2] = 8;
    const EyeBlock block = leftEyeBlock(p, 115);
    EXPECT_EQ(8, block.eyesVMax);
    EXPECT_EQ(117, block.eyesVMaxX);
    EXPECT_EQ(117, block.endColumn);  // the gap starts at entry 3
}

TEST(EyeBlockTest, LeftBlockStartsAboveFive) {
    std::vector<uint8_t> p = profile161();
    p[3] = 5;
    p[5] = 5;
    p[10] = 6;
    p[11] = 9;
    p[12] = 3;
    const EyeBlock block = leftEyeBlock(p, 115);
    EXPECT_EQ(9, block.eyesVMax);
    EXPECT_EQ(126, block.eyesVMaxX);
    EXPECT_EQ(127, block.endColumn);
}

TEST(EyeBlockTest, LeftPeakIsStrictSoTheFirstOfEqualValuesWins) {
    std::vector<uint8_t> p = profile161();
    for (int k = 20; k <= 30; ++k) p[static_cast<size_t>(k)] = 9;
    p[22] = p[27] = 12;
    const EyeBlock block = leftEyeBlock(p, 115);
    EXPECT_EQ(12, block.eyesVMax);
    EXPECT_EQ(115 + 22, block.eyesVMaxX);
    EXPECT_EQ(115 + 30, block.endColumn);
}

TEST(EyeBlockTest, LeftStartWithoutGapIsRejectedAndKeepsItsPeak) {
    std::vector<uint8_t> p = profile161();
    p[155] = 6;
    p[156] = 7;
    p[159] = 2;  // no four empty entries fit after the start
    const EyeBlock block = leftEyeBlock(p, 115);
    EXPECT_EQ(7, block.eyesVMax);
    EXPECT_EQ(115 + 156, block.eyesVMaxX);
    EXPECT_EQ(0, block.endColumn);
}

TEST(EyeBlockTest, RightPeakIsGreaterOrEqualSoTheLeftmostWins) {
    std::vector<uint8_t> p = profile161();
    for (int k = 120; k <= 130; ++k) p[static_cast<size_t>(k)] = 9;
    p[122] = p[127] = 12;
    const EyeBlock block = rightEyeBlock(p, 115, 0);
    EXPECT_EQ(12, block.eyesVMax);
    EXPECT_EQ(115 + 122, block.eyesVMaxX);
    EXPECT_EQ(115 + 130, block.endColumn);  // the start column
}

TEST(EyeBlockTest, RightRejectedStartsLeaveTheLastStartTried) {
    const std::vector<uint8_t> p{0, 0, 0, 6, 9, 0, 6, 7, 0, 8};  // middle entry 5
    const EyeBlock block = rightEyeBlock(p, 0, 0);
    EXPECT_EQ(9, block.eyesVMax);
    EXPECT_EQ(4, block.eyesVMaxX);
    EXPECT_EQ(6, block.endColumn);
}

TEST(EyeBlockTest, RightStartMayBeTheMiddleEntry) {
    std::vector<uint8_t> p = profile161();
    p[80] = 9;
    const EyeBlock block = rightEyeBlock(p, 115, 0);
    EXPECT_EQ(0, block.eyesVMax);
    EXPECT_EQ(115 + 79, block.eyesVMaxX);  // zeros pass a peak of zero
    EXPECT_EQ(115 + 80, block.endColumn);
}

TEST(EyeBlockTest, RightHalfWithoutDarkColumnKeepsTheLeftEndColumn) {
    std::vector<uint8_t> p = profile161();
    p[30] = 16;
    p[79] = 5;
    const EyeBlock block = rightEyeBlock(p, 115, 175);
    EXPECT_EQ(0, block.eyesVMax);
    EXPECT_EQ(0, block.eyesVMaxX);
    EXPECT_EQ(175, block.endColumn);
}

}  // namespace
}  // namespace photocheck
