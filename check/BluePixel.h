#pragma once
#include <algorithm>

namespace photocheck {

// The light blue of the background: a hue from 190 to below 230 (235 in one run of the head-top
// test) and a saturation above 57, as RgbToHsv gives them.
inline constexpr int BlueHueFrom = 190;
inline constexpr int BlueHueBelow = 230;
inline constexpr int WideBlueHueBelow = 235;
inline constexpr int BlueSaturationAbove = 57;

// Whether RgbToHsv of a pixel (channel values 0 to 255) gives a blue hue below hueBelow and a
// saturation above 57, worked out without its divisions. Hues of 190 and more come only where blue
// is the one largest channel; there, with d = b - min(r, g), the hue is (120 (r - g) + 481 d) / 2d
// and the saturation (510 d + b) / 2b, both rounded down, so each test is a product's comparison. The
// tests are joined without branches, so that a loop over pixels can take several at once.
inline bool isBluePixel(int r, int g, int b, int hueBelow) {
    const int d = b - std::min(r, g);
    const int hueTimes2d = 120 * (r - g) + 481 * d;
    const int saturationTimes2b = 510 * d + b;
    return (b > r) & (b > g) & (saturationTimes2b >= 2 * b * (BlueSaturationAbove + 1)) &
           (hueTimes2d >= 2 * d * BlueHueFrom) & (hueTimes2d < 2 * d * hueBelow);
}

}  // namespace photocheck
