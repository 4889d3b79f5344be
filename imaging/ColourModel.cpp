#include "imaging/ColourModel.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

#include "imaging/Extended.h"

namespace photocheck {

void RgbToHsv(Hsv& hsv, int r, int g, int b) {
    const Extended R = r, G = g, B = b;
    hsv.v = halfUpTrunc(std::max({R, G, B}));
    const int32_t m = halfUpTrunc(std::min({R, G, B}));
    const int32_t d = hsv.v - m;
    hsv.s = hsv.v == 0 ? 0 : halfUpTrunc(static_cast<Extended>(d) / hsv.v * 255.0L);
    if (hsv.s == 0) return;
    const Extended V = hsv.v;
    if (V == R) {
        hsv.h = halfUpTrunc((G - B) * 60.0L / d);
    } else if (V == G) {
        hsv.h = halfUpTrunc((B - R) * 60.0L / d + 120.0L);
    } else if (V == B) {
        hsv.h = halfUpTrunc((R - G) * 60.0L / d + 240.0L);
    }
    if (hsv.h < 0) hsv.h += 360;
}

int GrayLevelExtended(int r, int g, int b) {
    // volatile keeps each product and sum a separate, separately rounded extended value.
    volatile Extended p1 = static_cast<Extended>(r) * 0.3L;
    volatile Extended p2 = static_cast<Extended>(g) * 0.59L;
    volatile Extended s = p1 + p2;
    volatile Extended p3 = static_cast<Extended>(b) * 0.11L;
    s = s + p3;
    // The default rounding mode is to nearest, ties to even.
    return static_cast<int>(std::nearbyintl(s));
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
