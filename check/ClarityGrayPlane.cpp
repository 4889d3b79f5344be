#include "check/ClarityGrayPlane.h"

#include "imaging/ColourModel.h"

namespace photocheck {

GrayPlane::GrayPlane(const Bitmap& picture) : width_(picture.width()), height_(picture.height()) {
    levels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    for (int y = 0; y < height_; ++y)
        GrayLevelsOfPixels(picture.row(y), width_, levels_.data() + static_cast<size_t>(y) * width_);
}

}  // namespace photocheck
