#include <gtest/gtest.h>

#include <vector>

#include "check/ClarityMeasure.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

Colour gray(int level) {
    return makeColour(level, level, level);
}

// Scans levels[0..size-2]; the last element is the level just past the line's end.
ClarityCount scan(const std::vector<uint8_t>& levelsAndPast) {
    ClarityCount count;
    RunWeightScan(levelsAndPast.data(), 0, static_cast<int>(levelsAndPast.size()) - 2, count);
    return count;
}

std::vector<uint8_t> equalLevels(int length, uint8_t past) {
    std::vector<uint8_t> line(static_cast<size_t>(length), 7);
    line.push_back(past);
    return line;
}

TEST(RunWeightScanTest, EachFurtherEqualLevelAddsTwoThreeFiveSixSevenEight) {
    // Line lengths 3 to 9 of one level: the first three add nothing, then 2, 3, 5, 6, 7, 8.
    const std::vector<int32_t> expectedSame = {0, 2, 5, 10, 16, 23, 31};
    for (int length = 4; length <= 9; ++length) {
        const ClarityCount count = scan(equalLevels(length, 0));
        EXPECT_EQ(count.same, expectedSame[static_cast<size_t>(length - 3)]) << "length " << length;
        EXPECT_EQ(count.total, length) << "length " << length;
    }
}

TEST(RunWeightScanTest, NoEqualNeighboursCountsTheLengthOnly) {
    const ClarityCount count = scan({1, 2, 1, 2, 1, 2, 1});
    EXPECT_EQ(count.same, 0);
    EXPECT_EQ(count.total, 6);
}

TEST(RunWeightScanTest, ExtensionStartingAtTheLastPixelReadsOnePastTheEnd) {
    const ClarityCount equalPast = scan({1, 2, 3, 3, 3, 3});
    EXPECT_EQ(equalPast.same, 2);
    EXPECT_EQ(equalPast.total, 6);  // one more than the line's five levels

    const ClarityCount otherPast = scan({1, 2, 3, 3, 3, 9});
    EXPECT_EQ(otherPast.same, 0);
    EXPECT_EQ(otherPast.total, 6);

    const ClarityCount threeOnly = scan({5, 5, 5, 5});
    EXPECT_EQ(threeOnly.same, 2);
    EXPECT_EQ(threeOnly.total, 4);
}

TEST(RunWeightScanTest, ARunThatEndsInsideTheLineNeverReadsPastIt) {
    // Ten equal levels fill the line; the extension stops at the last one.
    const ClarityCount count = scan(equalLevels(10, 7));
    EXPECT_EQ(count.same, 2 + 3 + 5 + 6 + 7 + 8 + 9);
    EXPECT_EQ(count.total, 10);
}

TEST(RunWeightScanTest, ABrokenRunStartsCountingAgain) {
    const ClarityCount count = scan({4, 4, 4, 4, 9, 9, 9, 9, 9, 0});
    EXPECT_EQ(count.same, 2 + (2 + 3));
    EXPECT_EQ(count.total, 9);
}

TEST(RunWeightScanTest, AddsToTheCountsItIsGiven) {
    ClarityCount count{10, 100};
    const std::vector<uint8_t> line = {6, 6, 6, 6, 1};
    RunWeightScan(line.data(), 0, 3, count);
    EXPECT_EQ(count.same, 12);
    EXPECT_EQ(count.total, 104);
}

TEST(RunWeightScanTest, ScansOnlyFromTheFirstToTheLastIndex) {
    const std::vector<uint8_t> line = {3, 3, 3, 1, 2, 1, 2, 3, 3, 3};
    ClarityCount count;
    RunWeightScan(line.data(), 3, 6, count);
    EXPECT_EQ(count.same, 0);
    EXPECT_EQ(count.total, 4);
}

TEST(GrayPlaneTest, HoldsTheGrayLevelOfEachPixelAndWhiteOutside) {
    const Bitmap picture = test::makeBitmap(3, 2, [](int x, int y) {
        const Colour colours[2][3] = {{makeColour(10, 0, 0), makeColour(0, 0, 10), makeColour(0, 5, 5)},
                                      {makeColour(0, 44, 14), gray(0), gray(200)}};
        return colours[y][x];
    });
    const GrayPlane plane(picture);
    EXPECT_EQ(plane.width(), 3);
    EXPECT_EQ(plane.height(), 2);
    EXPECT_EQ(plane.level(0, 0), 3);
    EXPECT_EQ(plane.level(1, 0), 1);
    EXPECT_EQ(plane.level(2, 0), 3);  // exact sum 3.5, extended evaluation gives 3
    EXPECT_EQ(plane.level(0, 1), 28);
    EXPECT_EQ(plane.level(1, 1), 0);
    EXPECT_EQ(plane.level(2, 1), 200);
    EXPECT_EQ(plane.level(3, 0), 255);
    EXPECT_EQ(plane.level(0, 2), 255);
    EXPECT_EQ(plane.level(-1, 0), 255);
    EXPECT_EQ(plane.level(0, -1), 255);
}

TEST(ClarityRegionTest, UniformRegionIsCappedAtTotalLessTwoHundred) {
    const GrayPlane plane(Bitmap(200, 100, gray(90)));
    const ClarityRegion region{10, 90, 20, 60};  // 81 x 41
    const ClarityCount raw = scanRegion(plane, region);
    EXPECT_EQ(raw.total, 6642);
    // Each row of 81 levels adds 3235, each column of 41 adds 815.
    EXPECT_EQ(raw.same, 41 * 3235 + 81 * 815);
    const ClarityCount capped = measureRegion(plane, region);
    EXPECT_EQ(capped.total, 6642);
    EXPECT_EQ(capped.same, 6442);
    EXPECT_EQ(clarityPercent(capped), 3);
}

TEST(ClarityRegionTest, BelowTheCapTheCountIsKept) {
    // Levels that never repeat along a row or a column.
    const GrayPlane plane(test::makeBitmap(100, 60, [](int x, int y) { return gray(90 + (x + 2 * y) % 3); }));
    const ClarityCount count = measureRegion(plane, {5, 85, 5, 45});
    EXPECT_EQ(count.same, 0);
    EXPECT_EQ(count.total, 6642);
    EXPECT_EQ(clarityPercent(count), 100);
}

TEST(ClarityRegionTest, PixelsPastTheRightEdgeReadAsWhite) {
    // A dark picture 60 wide: the region's columns 60 to 100 lie outside it.
    const GrayPlane narrow(Bitmap(60, 60, gray(0)));
    Bitmap wide(120, 60, gray(255));
    test::fillRect(wide, 0, 0, 59, 59, gray(0));
    const ClarityRegion region{20, 100, 0, 40};
    const ClarityCount outside = scanRegion(narrow, region);
    const ClarityCount inside = scanRegion(GrayPlane(wide), region);
    EXPECT_EQ(outside.same, inside.same);
    EXPECT_EQ(outside.total, inside.total);
    // Rows: 40 dark then 41 white levels; columns: 40 dark ones and 41 white ones of 41 levels each.
    EXPECT_EQ(outside.same, 41 * (775 + 815) + 40 * 815 + 41 * 815);
    EXPECT_EQ(outside.total, 6642);
}

TEST(ClarityRegionTest, ReadsOnePastTheLastRowAndColumnAsWhite) {
    // Rows of 10, 20 and three of white; every row and the columns end in three equal levels, so each
    // line reads the white level past its end.
    const GrayPlane plane(test::makeBitmap(3, 5, [](int, int y) {
        return y == 0 ? gray(10) : y == 1 ? gray(20) : gray(255);
    }));
    const ClarityCount count = scanRegion(plane, {0, 2, 0, 4});
    EXPECT_EQ(count.same, 3 * 2 + 3 * 2);  // the three white rows, then the three columns
    EXPECT_EQ(count.total, 5 * 4 + 3 * 6);
}

}  // namespace
}  // namespace photocheck
