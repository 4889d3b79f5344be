#include "check/GrayLevelRows.h"

#include <algorithm>

#include "imaging/ColourModel.h"

namespace photocheck {

// The capacity for every row is taken at once, so that a row given out stays where it is; memory is
// only touched for the rows asked for.
GrayLevelRows::GrayLevelRows(const Bitmap& picture)
    : picture_(picture),
      runsPerRow_((picture.width() + RunLength - 1) / RunLength),
      rowSlot_(static_cast<size_t>(picture.height()), NotYet) {
    levels_.reserve(static_cast<size_t>(picture.width()) * static_cast<size_t>(picture.height()));
    runDone_.reserve(static_cast<size_t>(runsPerRow_) * static_cast<size_t>(picture.height()));
}

const uint8_t* GrayLevelRows::span(int y, int fromX, int toX) const {
    const uint8_t* bgr = picture_.row(y);  // raises for a row outside
    int32_t& slot = rowSlot_[static_cast<size_t>(y)];
    if (slot == NotYet) {
        slot = static_cast<int32_t>(levels_.size() / static_cast<size_t>(std::max(width(), 1)));
        levels_.resize(levels_.size() + static_cast<size_t>(width()));
        runDone_.resize(runDone_.size() + static_cast<size_t>(runsPerRow_), 0);
    }
    uint8_t* levels = levels_.data() + static_cast<size_t>(slot) * static_cast<size_t>(width());
    uint8_t* done = runDone_.data() + static_cast<size_t>(slot) * static_cast<size_t>(runsPerRow_);
    const int from = std::max(fromX, 0);
    const int to = std::min(toX, width() - 1);
    if (from > to) return levels;
    for (int run = from / RunLength; run <= to / RunLength; ++run) {
        if (done[run]) continue;
        const int x = run * RunLength;
        GrayLevelsOfPixels(bgr + 3 * static_cast<size_t>(x), std::min(RunLength, width() - x), levels + x);
        done[run] = 1;
    }
    return levels;
}

}  // namespace photocheck
