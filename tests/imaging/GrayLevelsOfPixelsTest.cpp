#include <gtest/gtest.h>

#include <vector>

#include "imaging/ColourModel.h"

namespace photocheck {
namespace {

// 256 pixels stored blue, green, red: red and green fixed, blue running from 0 to 255.
std::vector<uint8_t> blueRamp(int r, int g) {
    std::vector<uint8_t> bgr;
    for (int b = 0; b < 256; ++b) bgr.insert(bgr.end(), {uint8_t(b), uint8_t(g), uint8_t(r)});
    return bgr;
}

// GrayLevel itself is checked against the extended evaluation for all triples.
TEST(GrayLevelsOfPixels, EqualsGrayLevelForAllTriples) {
    int mismatches = 0;
    std::vector<uint8_t> levels(256);
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g) {
            GrayLevelsOfPixels(blueRamp(r, g).data(), 256, levels.data());
            for (int b = 0; b < 256; ++b)
                if (levels[static_cast<size_t>(b)] != GrayLevel(r, g, b)) ++mismatches;
        }
    EXPECT_EQ(mismatches, 0);
}

TEST(GrayLevelsOfPixels, TiesFollowTheExtendedSum) {
    // (0, 5, 5): exact sum 3.5, extended sum just below it. (0, 0, 5) is no tie: 0.55 gives 1.
    const uint8_t bgr[] = {5, 5, 0, 5, 0, 0, 255, 255, 255};
    uint8_t levels[3] = {};
    GrayLevelsOfPixels(bgr, 3, levels);
    EXPECT_EQ(levels[0], 3);
    EXPECT_EQ(levels[1], 1);
    EXPECT_EQ(levels[2], 255);
}

TEST(GrayLevelsOfPixels, WritesExactlyCountLevels) {
    const uint8_t bgr[] = {0, 0, 0, 255, 255, 255};
    uint8_t levels[3] = {7, 7, 7};
    GrayLevelsOfPixels(bgr, 1, levels);
    EXPECT_EQ(levels[0], 0);
    EXPECT_EQ(levels[1], 7);
}

}  // namespace
}  // namespace photocheck
