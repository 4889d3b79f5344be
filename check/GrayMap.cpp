#include "check/GrayMap.h"

#include <algorithm>

namespace photocheck {

int GrayMap::darkInRow(int y, int fromX, int toX, int threshold) const {
    const uint8_t* levels = span(y, fromX, toX);
    int count = 0;
    for (int x = std::max(fromX, 0); x <= std::min(toX, width() - 1); ++x)
        if (levels[x] < threshold) ++count;
    return count;
}

}  // namespace photocheck
