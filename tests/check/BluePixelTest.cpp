#include <gtest/gtest.h>

#include "check/BluePixel.h"
#include "imaging/ColourModel.h"

namespace photocheck {
namespace {

TEST(BluePixelTest, AgreesWithTheHueAndSaturationOfEveryColour) {
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) {
                Hsv hsv;
                RgbToHsv(hsv, r, g, b);
                for (const int hueBelow : {BlueHueBelow, WideBlueHueBelow}) {
                    const bool blue = hsv.h >= BlueHueFrom && hsv.h < hueBelow && hsv.s > BlueSaturationAbove;
                    ASSERT_EQ(blue, isBluePixel(r, g, b, hueBelow))
                        << r << "," << g << "," << b << " " << hueBelow;
                }
            }
}

}  // namespace
}  // namespace photocheck
