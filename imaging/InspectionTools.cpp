#include "imaging/InspectionTools.h"

#include <cstdlib>
#include <vector>

#include "imaging/ColourModel.h"

namespace photocheck {
namespace {

constexpr int LabelsFlipFromX = 170;
constexpr int LabelsFlippedBy = 180;
constexpr int RgbLabelBelow = 25;
constexpr int HsvLabelBelow = 41;

constexpr int MagnifierRadius = 10;  // pixels on each side of the pointer
constexpr int MagnifierBlock = 5;
constexpr Colour OutsideColour = makeColour(255, 255, 255);
constexpr Colour CrossHairColour = makeColour(255, 0, 0);

std::string text(int n) {
    return std::to_string(n);
}

void fillBlock(Bitmap& b, int left, int top, Colour c) {
    for (int y = top; y < top + MagnifierBlock; ++y)
        for (int x = left; x < left + MagnifierBlock; ++x) b.setPixel(x, y, c);
}

}  // namespace

PixelReadout readPixel(const Bitmap& source, int x, int y) {
    const Colour c = source.pixel(x, y);
    const int r = redOf(c);
    const int g = greenOf(c);
    const int b = blueOf(c);
    Hsv hsv;  // H stays 0 for a gray pixel
    RgbToHsv(hsv, r, g, b);

    PixelReadout readout;
    readout.rgbText = "x=" + text(x) + "," + "R=" + text(r) + ",G=" + text(g) + ",B=" + text(b);
    readout.hsvText = "y=" + text(y) + "," + "H=" + text(hsv.h) + ",S=" + text(hsv.s) + ",V=" + text(hsv.v);
    readout.labelLeft = x >= LabelsFlipFromX ? x - LabelsFlippedBy : x;
    readout.rgbLabelTop = y + RgbLabelBelow;
    readout.hsvLabelTop = y + HsvLabelBelow;
    return readout;
}

void paintMagnifier(const Bitmap& source, int x, int y, Bitmap& into) {
    for (int sy = y - MagnifierRadius; sy <= y + MagnifierRadius; ++sy)
        for (int sx = x - MagnifierRadius; sx <= x + MagnifierRadius; ++sx) {
            const Colour c = source.pixel(sx, sy);
            fillBlock(into, MagnifierBlock * (sx - x + MagnifierRadius),
                      MagnifierBlock * (sy - y + MagnifierRadius), c == InvalidColour ? OutsideColour : c);
        }
    for (int i = 0; i < MagnifierSize; ++i) into.setPixel(i, MagnifierCrossHair, CrossHairColour);
    for (int i = 0; i < MagnifierSize; ++i) into.setPixel(MagnifierCrossHair, i, CrossHairColour);
}

std::string distanceText(int pressX, int pressY, int releaseX, int releaseY) {
    return "垂直方向长度=" + text(std::abs(releaseY - pressY)) +
           "    水平方向长度=" + text(std::abs(releaseX - pressX));
}

Bitmap grayscaleView(const Bitmap& picture) {
    Bitmap out = picture;
    std::vector<uint8_t> levels(static_cast<size_t>(out.width()));
    for (int y = 0; y < out.height(); ++y) {
        uint8_t* bgr = out.row(y);
        GrayLevelsOfPixels(bgr, out.width(), levels.data());
        for (const uint8_t level : levels) {
            bgr[0] = bgr[1] = bgr[2] = level;
            bgr += 3;
        }
    }
    return out;
}

Bitmap thresholdView(const Bitmap& picture, int threshold) {
    Bitmap out(picture.width(), picture.height());
    for (int y = 0; y < out.height(); ++y)
        ThresholdPixels(picture.row(y), out.width(), threshold, out.row(y));
    return out;
}

}  // namespace photocheck
