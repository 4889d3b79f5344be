#include "check/ClarityGrayPlane.h"

#include <algorithm>
#include <cstring>

namespace photocheck {

GrayPlane::GrayPlane(const Bitmap& picture) : own_(std::make_unique<GrayLevelRows>(picture)), rows_(*own_) {}

GrayPlane::GrayPlane(Bitmap&& picture)
    : kept_(std::move(picture)), own_(std::make_unique<GrayLevelRows>(*kept_)), rows_(*own_) {}

void GrayPlane::rowLevels(int y, int fromX, int toX, uint8_t* out) const {
    if (toX < fromX) return;
    std::memset(out, Outside, static_cast<size_t>(toX - fromX + 1));
    const int from = std::max(fromX, 0);
    const int to = std::min(toX, width() - 1);
    if (y < 0 || y >= height() || from > to) return;
    const uint8_t* levels = rows_.span(y, from, to);
    std::memcpy(out + (from - fromX), levels + from, static_cast<size_t>(to - from + 1));
}

}  // namespace photocheck
