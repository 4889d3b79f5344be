#include "check/GrayMap.h"

#include "imaging/ColourModel.h"

namespace photocheck {

GrayMap::GrayMap(const Bitmap& picture) : width_(picture.width()), height_(picture.height()) {
    levels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    uint8_t* level = levels_.data();
    for (int y = 0; y < height_; ++y) {
        const uint8_t* bgr = picture.row(y);
        for (int x = 0; x < width_; ++x, bgr += 3)
            *level++ = static_cast<uint8_t>(GrayLevel(bgr[2], bgr[1], bgr[0]));
    }
}

int GrayMap::at(int x, int y) const {
    if (y < 0 || y >= height_) throw ScanLineError();
    if (x < 0 || x >= width_) return 255;
    return levels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

}  // namespace photocheck
