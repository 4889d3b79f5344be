#include "check/GrayMap.h"

#include <algorithm>

namespace photocheck {

GrayMap::GrayMap(const Bitmap& picture)
    : picture_(picture),
      levels_(static_cast<size_t>(picture.width()) * static_cast<size_t>(picture.height())),
      rowDone_(static_cast<size_t>(picture.height()), false) {}

const uint8_t* GrayMap::row(int y) const {
    const uint8_t* bgr = picture_.row(y);
    uint8_t* levels = levels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width());
    if (!rowDone_[static_cast<size_t>(y)]) {
        GrayLevelsOfPixels(bgr, width(), levels);
        rowDone_[static_cast<size_t>(y)] = true;
    }
    return levels;
}

int GrayMap::darkInRow(int y, int fromX, int toX, int threshold) const {
    const uint8_t* levels = row(y);
    int count = 0;
    for (int x = std::max(fromX, 0); x <= std::min(toX, width() - 1); ++x)
        if (levels[x] < threshold) ++count;
    return count;
}

}  // namespace photocheck
