#include <gtest/gtest.h>

#include "check/GrayMap.h"
#include "imaging/ColourModel.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

// Every colour with the given red: green across, blue down.
Bitmap colourPlane(int red) {
    return test::makeBitmap(256, 256, [red](int x, int y) { return makeColour(red, x, y); });
}

TEST(GrayMapTest, RowsHoldTheGrayLevelOfEachPixel) {
    for (int red = 0; red < 256; red += 17) {
        const Bitmap plane = colourPlane(red);
        const GrayMap gray(plane);
        for (int blue = 0; blue < 256; ++blue)
            for (int green = 0; green < 256; ++green)
                ASSERT_EQ(GrayLevel(red, green, blue), gray.at(green, blue))
                    << red << " " << green << " " << blue;
    }
}

TEST(GrayMapTest, ThresholdTestAgreesWithTheGrayLevelForEveryColour) {
    for (int red = 0; red < 256; ++red) {
        int wrong = 0;
        for (int green = 0; green < 256; ++green)
            for (int blue = 0; blue < 256; ++blue) {
                const int level = GrayLevel(red, green, blue);
                for (int threshold : {50, 60, 70, 80, 90, 100})
                    if (grayLevelAbove(red, green, blue, threshold) != (level > threshold)) ++wrong;
            }
        ASSERT_EQ(0, wrong) << "red " << red;
    }
}

TEST(GrayMapTest, TiesTakeTheExtendedRounding) {
    Bitmap b(2, 1);
    b.setPixel(0, 0, makeColour(0, 5, 5));    // exact sum 3.5, extended 3
    b.setPixel(1, 0, makeColour(0, 44, 14));  // exact sum 27.5, extended 28
    const GrayMap gray(b);
    EXPECT_EQ(3, gray.at(0, 0));
    EXPECT_EQ(28, gray.at(1, 0));
    EXPECT_FALSE(grayLevelAbove(0, 5, 5, 3));
    EXPECT_TRUE(grayLevelAbove(0, 44, 14, 27));
}

TEST(GrayMapTest, ColumnsOutsideReadWhiteAndRowsOutsideRaise) {
    const Bitmap b(3, 2, makeColour(0, 0, 0));
    const GrayMap gray(b);
    EXPECT_EQ(0, gray.at(0, 1));
    EXPECT_EQ(255, gray.at(-1, 1));
    EXPECT_EQ(255, gray.at(3, 0));
    EXPECT_THROW(gray.at(0, 2), ScanLineError);
    EXPECT_THROW(gray.row(-1), ScanLineError);
}

}  // namespace
}  // namespace photocheck
