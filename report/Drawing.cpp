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

Bitmap shrunk(const Bitmap& picture, int factor) {
    const int width = std::max(1, picture.width() / factor);
    const int height = std::max(1, picture.height() / factor);
    Bitmap out(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* dst = out.row(y);
        for (int x = 0; x < width; ++x) {
            int sum[3] = {0, 0, 0};
            int n = 0;
            for (int dy = 0; dy < factor && y * factor + dy < picture.height(); ++dy) {
                const uint8_t* src = picture.row(y * factor + dy);
                for (int dx = 0; dx < factor && x * factor + dx < picture.width(); ++dx, ++n)
                    for (int k = 0; k < 3; ++k) sum[k] += src[3 * (x * factor + dx) + k];
            }
            for (int k = 0; k < 3; ++k) dst[3 * x + k] = static_cast<uint8_t>((sum[k] + n / 2) / n);
        }
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
