#include "check/GrayMap.h"

#include <algorithm>

#include "imaging/VectorClones.h"

namespace photocheck {

namespace {

PHOTOCHECK_VECTOR_CLONES
int countBelow(const uint8_t* __restrict levels, int n, int threshold) {
    int count = 0;
    for (int i = 0; i < n; ++i) count += levels[i] < threshold ? 1 : 0;
    return count;
}

}  // namespace

int GrayMap::darkInRow(int y, int fromX, int toX, int threshold) const {
    const uint8_t* levels = span(y, fromX, toX);
    const int from = std::max(fromX, 0);
    const int to = std::min(toX, width() - 1);
    return from > to ? 0 : countBelow(levels + from, to - from + 1, threshold);
}

}  // namespace photocheck
