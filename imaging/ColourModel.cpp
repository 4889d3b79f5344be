#include "imaging/ColourModel.h"

#include <algorithm>

#include "imaging/Extended.h"

namespace photocheck {

namespace {

bool isChannel(int value) {
    return value >= 0 && value <= 255;
}

// Half-up truncation of the rational p / q for q > 0: trunc(p / q + 1/2) = trunc((2p + q) / 2q), and
// integer division truncates toward zero as the truncation does.
int32_t halfUpRatio(int32_t p, int32_t q) {
    return (2 * p + q) / (2 * q);
}

}  // namespace

// For channel values the extended evaluation gives the integers of exact rational arithmetic, so
// they are worked out in integers.
void RgbToHsv(Hsv& hsv, int r, int g, int b) {
    if (!isChannel(r) || !isChannel(g) || !isChannel(b)) return RgbToHsvExtended(hsv, r, g, b);
    hsv.v = std::max({r, g, b});
    const int32_t d = hsv.v - std::min({r, g, b});
    hsv.s = hsv.v == 0 ? 0 : halfUpRatio(255 * d, hsv.v);
    if (hsv.s == 0) return;
    if (hsv.v == r)
        hsv.h = halfUpRatio((g - b) * 60, d);
    else if (hsv.v == g)
        hsv.h = halfUpRatio((b - r) * 60 + 120 * d, d);
    else
        hsv.h = halfUpRatio((r - g) * 60 + 240 * d, d);
    if (hsv.h < 0) hsv.h += 360;
}

void RgbToHsvExtended(Hsv& hsv, int r, int g, int b) {
    const Extended R(r), G(g), B(b);
    hsv.v = halfUpTrunc(std::max({R, G, B}));
    const int32_t m = halfUpTrunc(std::min({R, G, B}));
    const int32_t d = hsv.v - m;
    hsv.s = hsv.v == 0 ? 0 : halfUpTrunc(Extended(d) / Extended(hsv.v) * Extended(255));
    if (hsv.s == 0) return;
    const Extended V(hsv.v), D(d), sixty(60);
    if (V == R) {
        hsv.h = halfUpTrunc((G - B) * sixty / D);
    } else if (V == G) {
        hsv.h = halfUpTrunc((B - R) * sixty / D + Extended(120));
    } else if (V == B) {
        hsv.h = halfUpTrunc((R - G) * sixty / D + Extended(240));
    }
    if (hsv.h < 0) hsv.h += 360;
}

namespace {

// R x 0.3 + G x 0.59 + B x 0.11 with every step rounded to extended precision.
Extended extendedGraySum(int r, int g, int b) {
    static const Extended redWeight = extendedRatio(3, 10);
    static const Extended greenWeight = extendedRatio(59, 100);
    static const Extended blueWeight = extendedRatio(11, 100);
    const Extended p1 = Extended(r) * redWeight;
    const Extended p2 = Extended(g) * greenWeight;
    const Extended p3 = Extended(b) * blueWeight;
    return (p1 + p2) + p3;
}

// The exact sum is (30 R + 59 G + 11 B) / 100; it lies at least 0.01 away from a half unless it is
// one, and the extended evaluation errs by far less, so only ties need the extended arithmetic.
int hundredthsOf(int r, int g, int b) {
    return 30 * r + 59 * g + 11 * b;
}

// The nearest whole number away from a tie; at a tie, the one below.
int roundedHundredths(int hundredths) {
    return (hundredths + 49) / 100;
}

bool isTie(int hundredths) {
    return hundredths % 100 == 50;
}

// At a tie the exact sum is below + 0.5; the extended sum lies just above it, just below it or on
// it, and on it the even neighbour wins.
int resolveTie(int r, int g, int b, int below) {
    const Extended sum = extendedGraySum(r, g, b);
    const Extended half = Extended(below) + Extended(0.5);
    if (sum > half) return below + 1;
    if (sum < half) return below;
    return below % 2 == 0 ? below : below + 1;
}

}  // namespace

int GrayLevelExtended(int r, int g, int b) {
    return static_cast<int>(roundExtendedToEven(extendedGraySum(r, g, b)));
}

int GrayLevel(int r, int g, int b) {
    const int hundredths = hundredthsOf(r, g, b);
    const int level = roundedHundredths(hundredths);
    return isTie(hundredths) ? resolveTie(r, g, b, level) : level;
}

void GrayLevelsOfPixels(const uint8_t* bgr, int count, uint8_t* levels) {
    for (int i = 0; i < count; ++i, bgr += 3) {
        const int hundredths = hundredthsOf(bgr[2], bgr[1], bgr[0]);
        const int level = roundedHundredths(hundredths);
        levels[i] =
            static_cast<uint8_t>(isTie(hundredths) ? resolveTie(bgr[2], bgr[1], bgr[0], level) : level);
    }
}

}  // namespace photocheck
