#include "check/ClarityGrayPlane.h"

#include <algorithm>

#include "imaging/ColourModel.h"

namespace photocheck {

GrayPlane::GrayPlane(const Bitmap& picture)
    : picture_(picture),
      width_(picture.width()),
      height_(picture.height()),
      runsPerRow_(static_cast<size_t>((width_ + RunLength - 1) / RunLength)),
      levels_(static_cast<size_t>(width_) * static_cast<size_t>(height_)),
      runDone_(static_cast<size_t>(height_) * runsPerRow_, 0) {}

GrayPlane::GrayPlane(Bitmap&& picture)
    : kept_(std::move(picture)),
      picture_(*kept_),
      width_(picture_.width()),
      height_(picture_.height()),
      runsPerRow_(static_cast<size_t>((width_ + RunLength - 1) / RunLength)),
      levels_(static_cast<size_t>(width_) * static_cast<size_t>(height_)),
      runDone_(static_cast<size_t>(height_) * runsPerRow_, 0) {}

void GrayPlane::fillRun(int run, int y) const {
    const int x = run * RunLength;
    const int count = std::min(RunLength, width_ - x);
    GrayLevelsOfPixels(picture_.row(y) + static_cast<size_t>(x) * 3, count,
                       levels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_) + x);
    runDone_[static_cast<size_t>(y) * runsPerRow_ + static_cast<size_t>(run)] = 1;
}

}  // namespace photocheck
