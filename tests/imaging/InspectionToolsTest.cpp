#include <gtest/gtest.h>

#include "imaging/InspectionTools.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

constexpr Colour Red = makeColour(255, 0, 0);
constexpr Colour White = makeColour(255, 255, 255);

TEST(PixelReadout, PureRedAndAGrayPixel) {
    Bitmap b(200, 100, makeColour(128, 128, 128));
    b.setPixel(12, 40, Red);
    const PixelReadout red = readPixel(b, 12, 40);
    EXPECT_EQ(red.rgbText, "x=12,R=255,G=0,B=0");
    EXPECT_EQ(red.hsvText, "y=40,H=0,S=255,V=255");
    EXPECT_EQ(readPixel(b, 13, 41).hsvText, "y=41,H=0,S=0,V=128");  // a gray pixel has no hue: 0
}

TEST(PixelReadout, LabelsFollowThePointerAndTurnLeftFromColumn170) {
    const Bitmap b(390, 567);
    const PixelReadout at169 = readPixel(b, 169, 300);
    EXPECT_EQ(at169.labelLeft, 169);
    EXPECT_EQ(at169.rgbLabelTop, 325);
    EXPECT_EQ(at169.hsvLabelTop, 341);
    EXPECT_EQ(readPixel(b, 170, 300).labelLeft, -10);
}

TEST(Magnifier, BlocksOfFiveWithARedCrossHairAndWhiteOutside) {
    const Bitmap photo = test::makeBitmap(30, 30, [](int x, int y) { return makeColour(x, y, 7); });
    Bitmap into(MagnifierSize, MagnifierSize);
    paintMagnifier(photo, 3, 20, into);
    EXPECT_EQ(into.pixel(0, 0), White);                   // (-7, 10) lies outside the photo
    EXPECT_EQ(into.pixel(54, 52), makeColour(3, 20, 7));  // the pointer's block, beside the cross-hair
    EXPECT_EQ(into.pixel(60, 104), White);                // (5, 30) lies below the photo
    EXPECT_EQ(into.pixel(59, 49), makeColour(4, 19, 7));  // the block right of and above the pointer
    for (int i = 0; i < MagnifierSize; ++i) {
        EXPECT_EQ(into.pixel(i, 53), Red);
        EXPECT_EQ(into.pixel(53, i), Red);
    }
}

TEST(Distance, ADragFrom10_20To40_5) {
    EXPECT_EQ(distanceText(10, 20, 40, 5), "垂直方向长度=15    水平方向长度=30");
}

TEST(GrayAndThresholdViews, ALevelEqualToTheThresholdIsBlack) {
    Bitmap b(3, 1);
    b.setPixel(0, 0, makeColour(128, 128, 128));
    b.setPixel(1, 0, makeColour(129, 129, 129));
    b.setPixel(2, 0, makeColour(0, 44, 14));  // gray level 28 in extended precision
    const Bitmap out = thresholdView(b, 128);
    EXPECT_EQ(out.pixel(0, 0), makeColour(0, 0, 0));
    EXPECT_EQ(out.pixel(1, 0), White);
    EXPECT_EQ(grayscaleView(b).pixel(2, 0), makeColour(28, 28, 28));
}

}  // namespace
}  // namespace photocheck
