#include "imaging/ColourModel.h"

#include <algorithm>

#include "imaging/Extended.h"

namespace photocheck {

void RgbToHsv(Hsv& hsv, int r, int g, int b) {
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

int GrayLevelExtended(int r, int g, int b) {
    static const Extended redWeight = extendedRatio(3, 10);
    static const Extended greenWeight = extendedRatio(59, 100);
    static const Extended blueWeight = extendedRatio(11, 100);
    const Extended p1 = Extended(r) * redWeight;
    const Extended p2 = Extended(g) * greenWeight;
    const Extended p3 = Extended(b) * blueWeight;
    const Extended s = (p1 + p2) + p3;
    return static_cast<int>(roundExtendedToEven(s));
}

int GrayLevel(int r, int g, int b) {
    // The exact sum is (30 R + 59 G + 11 B) / 100; it lies at least 0.01 away from a half unless it is
    // one, and the extended evaluation errs by far less, so only ties need the extended arithmetic.
    const int hundredths = 30 * r + 59 * g + 11 * b;
    const int whole = hundredths / 100;
    const int fraction = hundredths % 100;
    if (fraction < 50) return whole;
    if (fraction > 50) return whole + 1;
    return GrayLevelExtended(r, g, b);
}

}  // namespace photocheck
