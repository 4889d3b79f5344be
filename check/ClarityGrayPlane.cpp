#include "check/ClarityGrayPlane.h"

#include "imaging/ColourModel.h"

namespace photocheck {

GrayPlane::GrayPlane(const Bitmap& picture) : width_(picture.width()), height_(picture.height()) {
    levels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    uint8_t* out = levels_.data();
    for (int y = 0; y < height_; ++y) {
        const uint8_t* bgr = picture.row(y);
        for (int x = 0; x < width_; ++x, bgr += 3)
            *out++ = static_cast<uint8_t>(GrayLevel(bgr[2], bgr[1], bgr[0]));
    }
}

}  // namespace photocheck
