#include "check/ClarityGrayPlane.h"

#include "imaging/ColourModel.h"

namespace photocheck {

GrayPlane::GrayPlane(const Bitmap& picture)
    : picture_(picture),
      width_(picture.width()),
      height_(picture.height()),
      levels_(static_cast<size_t>(width_) * static_cast<size_t>(height_)),
      rowDone_(static_cast<size_t>(height_), false) {}

GrayPlane::GrayPlane(Bitmap&& picture)
    : kept_(std::move(picture)),
      picture_(*kept_),
      width_(picture_.width()),
      height_(picture_.height()),
      levels_(static_cast<size_t>(width_) * static_cast<size_t>(height_)),
      rowDone_(static_cast<size_t>(height_), false) {}

void GrayPlane::fillRow(int y) const {
    GrayLevelsOfPixels(picture_.row(y), width_, levels_.data() + static_cast<size_t>(y) * width_);
    rowDone_[static_cast<size_t>(y)] = true;
}

}  // namespace photocheck
