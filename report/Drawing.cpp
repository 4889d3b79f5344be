#include "report/Drawing.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace photocheck {

void drawRow(Bitmap& b, int y, int x1, int x2, Colour c) {
    if (x1 > x2) std::swap(x1, x2);
    for (int x = std::max(x1, 0); x <= std::min(x2, b.width() - 1); ++x) b.setPixel(x, y, c);
}

void drawColumn(Bitmap& b, int x, int y1, int y2, Colour c) {
    if (y1 > y2) std::swap(y1, y2);
    for (int y = std::max(y1, 0); y <= std::min(y2, b.height() - 1); ++y) b.setPixel(x, y, c);
}

void drawRectangle(Bitmap& b, int x1, int y1, int x2, int y2, Colour c) {
    drawRow(b, y1, x1, x2, c);
    drawRow(b, y2, x1, x2, c);
    drawColumn(b, x1, y1, y2, c);
    drawColumn(b, x2, y1, y2, c);
}

void fillRectangle(Bitmap& b, int x1, int y1, int x2, int y2, Colour c) {
    if (y1 > y2) std::swap(y1, y2);
    for (int y = std::max(y1, 0); y <= std::min(y2, b.height() - 1); ++y) drawRow(b, y, x1, x2, c);
}

void drawCross(Bitmap& b, int x, int y, int arm, Colour c) {
    drawRow(b, y, x - arm, x + arm, c);
    drawColumn(b, x, y - arm, y + arm, c);
}

Bitmap halved(const Bitmap& picture) {
    const int width = picture.width() / 2;
    const int height = picture.height() / 2;
    if (width == 0 || height == 0) return picture;
    Bitmap out(width, height);
    for (int y = 0; y < height; ++y) {
        const uint8_t* upper = picture.row(2 * y);
        const uint8_t* lower = picture.row(2 * y + 1);
        uint8_t* dst = out.row(y);
        for (int x = 0; x < width; ++x, upper += 6, lower += 6, dst += 3)
            for (int c = 0; c < 3; ++c)
                dst[c] = static_cast<uint8_t>((upper[c] + upper[c + 3] + lower[c] + lower[c + 3] + 2) >> 2);
    }
    return out;
}

Bitmap extended(const Bitmap& picture, int width, int height, Colour fill) {
    Bitmap out(width, height, fill);
    const int rows = std::min(height, picture.height());
    const size_t bytes = static_cast<size_t>(std::min(width, picture.width())) * 3;
    for (int y = 0; y < rows; ++y) std::memcpy(out.row(y), picture.row(y), bytes);
    return out;
}

}  // namespace photocheck
