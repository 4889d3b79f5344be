#pragma once
#include <cstdint>

namespace photocheck {

// Hue 0..359, saturation and value 0..255. The hue is written only for a pixel whose saturation is
// not 0: callers pass the variables in and keep what was there before for a gray pixel.
struct Hsv {
    int32_t h = 0;
    int32_t s = 0;
    int32_t v = 0;
};

// Converts one pixel; leaves hsv.h untouched when the saturation comes out 0.
void RgbToHsv(Hsv& hsv, int r, int g, int b);

// The same conversion step by step in extended arithmetic, which RgbToHsv equals for channel values
// 0 to 255 and falls back on outside them.
void RgbToHsvExtended(Hsv& hsv, int r, int g, int b);

// 0.3 R + 0.59 G + 0.11 B, evaluated in 80-bit extended precision and rounded to nearest, ties to even.
int GrayLevel(int r, int g, int b);

// The same value computed step by step in extended arithmetic; the reference GrayLevel is checked against.
int GrayLevelExtended(int r, int g, int b);

// GrayLevel of `count` 24-bit pixels stored blue, green, red, one level per pixel into `levels`.
void GrayLevelsOfPixels(const uint8_t* bgr, int count, uint8_t* levels);

// The threshold view of `count` 24-bit pixels: a pixel whose GrayLevel is greater than the threshold
// becomes white (255, 255, 255) in `out`, any other black. `out` must not overlap `bgr`.
void ThresholdPixels(const uint8_t* bgr, int count, int threshold, uint8_t* out);

}  // namespace photocheck
