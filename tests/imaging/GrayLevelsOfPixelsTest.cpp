#include <gtest/gtest.h>

#include <algorithm>
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

// GrayLevel itself is checked against the extended evaluation for all triples. Each ramp is converted
// whole and again in runs of 15 pixels, fewer than the vector kernel takes at a time.
TEST(GrayLevelsOfPixels, EqualsGrayLevelForAllTriples) {
    int mismatches = 0;
    std::vector<uint8_t> whole(256), inRuns(256);
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g) {
            const std::vector<uint8_t> ramp = blueRamp(r, g);
            GrayLevelsOfPixels(ramp.data(), 256, whole.data());
            for (int start = 0; start < 256; start += 15)
                GrayLevelsOfPixels(ramp.data() + 3 * start, std::min(15, 256 - start), inRuns.data() + start);
            for (int b = 0; b < 256; ++b) {
                const int level = GrayLevel(r, g, b);
                if (whole[static_cast<size_t>(b)] != level || inRuns[static_cast<size_t>(b)] != level)
                    ++mismatches;
            }
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

// A white or black pixel per level of the ramp, for every threshold from -1 to 255 and a few beyond.
TEST(ThresholdPixels, WhiteExactlyWhereGrayLevelIsAboveTheThresholdForAllTriples) {
    int mismatches = 0;
    std::vector<uint8_t> out(3 * 256);
    const int thresholds[] = {-5, -1, 0, 1, 3, 28, 90, 127, 128, 200, 254, 255, 256, 1 << 30};
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g) {
            const std::vector<uint8_t> ramp = blueRamp(r, g);
            int levels[256];
            for (int b = 0; b < 256; ++b) levels[b] = GrayLevel(r, g, b);
            for (int threshold : thresholds) {
                ThresholdPixels(ramp.data(), 256, threshold, out.data());
                for (int b = 0; b < 256; ++b) {
                    const uint8_t expected = levels[b] > threshold ? 255 : 0;
                    const uint8_t* p = &out[3 * static_cast<size_t>(b)];
                    if (p[0] != expected || p[1] != expected || p[2] != expected) ++mismatches;
                }
            }
        }
    EXPECT_EQ(mismatches, 0);
}

TEST(ThresholdPixels, ALevelEqualToTheThresholdIsBlack) {
    // (0, 5, 5) has the level 3 although its exact sum is 3.5: black at 3, white at 2.
    const uint8_t bgr[] = {5, 5, 0, 128, 128, 128, 129, 129, 129};
    uint8_t out[9] = {};
    ThresholdPixels(bgr, 3, 3, out);
    EXPECT_EQ(out[0], 0);
    ThresholdPixels(bgr, 3, 2, out);
    EXPECT_EQ(out[0], 255);
    ThresholdPixels(bgr, 3, 128, out);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(out[6], 255);
}

}  // namespace
}  // namespace photocheck
