#include <gtest/gtest.h>

#include <cmath>

#include "imaging/ColourModel.h"
#include "imaging/Extended.h"

namespace photocheck {
namespace {

Hsv hsvOf(int r, int g, int b, int previousHue = -7) {
    Hsv hsv;
    hsv.h = previousHue;
    RgbToHsv(hsv, r, g, b);
    return hsv;
}

TEST(RgbToHsv, BlackAndGrayLeaveTheHueUntouched) {
    const Hsv black = hsvOf(0, 0, 0);
    EXPECT_EQ(black.v, 0);
    EXPECT_EQ(black.s, 0);
    EXPECT_EQ(black.h, -7);
    const Hsv gray = hsvOf(128, 128, 128, 42);
    EXPECT_EQ(gray.v, 128);
    EXPECT_EQ(gray.s, 0);
    EXPECT_EQ(gray.h, 42);
}

TEST(RgbToHsv, PrimaryColours) {
    const Hsv red = hsvOf(255, 0, 0);
    EXPECT_EQ(red.h, 0);
    EXPECT_EQ(red.s, 255);
    EXPECT_EQ(red.v, 255);
    EXPECT_EQ(hsvOf(0, 255, 0).h, 120);
    EXPECT_EQ(hsvOf(0, 0, 255).h, 240);
}

TEST(RgbToHsv, LightBlue) {
    const Hsv hsv = hsvOf(100, 150, 230);
    EXPECT_EQ(hsv.v, 230);
    EXPECT_EQ(hsv.s, 144);
    EXPECT_EQ(hsv.h, 217);
}

TEST(RgbToHsv, NegativeHueIsTruncatedTowardZeroBeforeWrapping) {
    EXPECT_EQ(hsvOf(255, 0, 7).h, 359);  // -1.647 + 0.5 = -1.147 -> -1 -> 359
    EXPECT_EQ(hsvOf(255, 0, 6).h, 0);    // -1.412 + 0.5 = -0.912 -> 0
}

TEST(RgbToHsv, RedWinsATieWithGreen) {
    const Hsv hsv = hsvOf(200, 200, 100);
    EXPECT_EQ(hsv.h, 60);
    EXPECT_EQ(hsv.s, 128);
}

TEST(RgbToHsv, AgreesWithExactRationalArithmeticEverywhere) {
    // Extended precision gives the exact-rational integers for every 8-bit input. The exact hue of the
    // red branch is (G - B) * 60 / d; half-up truncation of a rational p/q is floor-free integer maths.
    auto halfUp = [](long long p, long long q) {  // trunc(p/q + 1/2) for q > 0
        const long long num = 2 * p + q;
        const long long den = 2 * q;
        return num / den;  // C++ division truncates toward zero, as trunc does
    };
    for (int r = 0; r < 256; r += 3)
        for (int g = 0; g < 256; g += 1)
            for (int b = 0; b < 256; b += 5) {
                const Hsv got = hsvOf(r, g, b, 1000);
                const int v = std::max({r, g, b});
                const int d = v - std::min({r, g, b});
                ASSERT_EQ(got.v, v);
                const long long s = v == 0 ? 0 : halfUp(255LL * d, v);
                ASSERT_EQ(got.s, s) << r << "," << g << "," << b;
                if (s == 0) {
                    ASSERT_EQ(got.h, 1000);
                    continue;
                }
                long long h;
                if (v == r)
                    h = halfUp(60LL * (g - b), d);
                else if (v == g)
                    h = halfUp(60LL * (b - r) + 120LL * d, d);
                else
                    h = halfUp(60LL * (r - g) + 240LL * d, d);
                if (h < 0) h += 360;
                ASSERT_EQ(got.h, h) << r << "," << g << "," << b;
            }
}

TEST(GrayLevel, SpecimenValues) {
    EXPECT_EQ(GrayLevel(255, 255, 255), 255);
    EXPECT_EQ(GrayLevel(10, 0, 0), 3);
    EXPECT_EQ(GrayLevel(0, 0, 5), 1);  // 0.55 rounds to 1
    EXPECT_EQ(GrayLevel(0, 5, 5), 3);  // exact sum 3.5, extended sum just below it
    EXPECT_EQ(GrayLevel(0, 44, 14), 28);
    EXPECT_EQ(GrayLevel(0, 0, 0), 0);
}

TEST(GrayLevel, FastPathEqualsTheExtendedEvaluationForAllTriples) {
    int mismatches = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b)
                if (GrayLevel(r, g, b) != GrayLevelExtended(r, g, b)) ++mismatches;
    EXPECT_EQ(mismatches, 0);
}

TEST(GrayLevel, ExtendedResultsDifferFromDoubleAndFromExactRounding) {
    // An independent check that the arithmetic really is extended: in double precision and in exact
    // arithmetic a known number of ties come out differently.
    int differFromDouble = 0;
    int differFromExact = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) {
                const int extended = GrayLevelExtended(r, g, b);
                volatile double p1 = r * 0.3, p2 = g * 0.59, p3 = b * 0.11;
                volatile double s = p1 + p2;
                s = s + p3;
                if (static_cast<int>(std::nearbyint(s)) != extended) ++differFromDouble;
                const int hundredths = 30 * r + 59 * g + 11 * b;
                int exact = hundredths / 100;
                const int frac = hundredths % 100;
                if (frac > 50 || (frac == 50 && exact % 2 == 1)) ++exact;
                if (exact != extended) ++differFromExact;
            }
    EXPECT_GT(differFromDouble, 21000);
    EXPECT_LT(differFromDouble, 25000);
    EXPECT_GT(differFromExact, 15000);
    EXPECT_LT(differFromExact, 19000);
    RecordProperty("differ_from_double", differFromDouble);
    RecordProperty("differ_from_exact", differFromExact);
}

TEST(Extended, HalfUpTruncationMovesNegativesTowardZero) {
    EXPECT_EQ(halfUpTrunc(-1.2L), 0);
    EXPECT_EQ(halfUpTrunc(-1.6L), -1);
    EXPECT_EQ(halfUpTrunc(12.5L), 13);
    EXPECT_EQ(ratioPercent(1, 8), 13);
    EXPECT_EQ(ratioPercent(2, 3), 67);
    EXPECT_EQ(truncToward0(percentOf(761, 940)), 80);
    EXPECT_EQ(truncToward0(percentOf(762, 940)), 81);
}

}  // namespace
}  // namespace photocheck
