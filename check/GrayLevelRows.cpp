#include "check/GrayLevelRows.h"

#include <algorithm>

#include "imaging/ColourModel.h"

namespace photocheck {

void GrayLevelRows::reset(const Bitmap& picture) {
    picture_ = &picture;
    width_ = picture.width();
    height_ = picture.height();
    runsPerRow_ = (width_ + RunLength - 1) / RunLength;
    levels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    runDone_.assign(static_cast<size_t>(runsPerRow_) * static_cast<size_t>(height_), 0);
}

const uint8_t* GrayLevelRows::span(int y, int fromX, int toX) const {
    if (!picture_) throw ScanLineError();
    const uint8_t* bgr = picture_->row(y);  // raises for a row outside
    uint8_t* levels = levels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
    const int from = std::max(fromX, 0);
    const int to = std::min(toX, width_ - 1);
    if (from > to) return levels;
    uint8_t* done = runDone_.data() + static_cast<size_t>(y) * static_cast<size_t>(runsPerRow_);
    const int lastRun = to / RunLength;
    for (int run = from / RunLength; run <= lastRun;) {
        if (done[run]) {
            ++run;
            continue;
        }
        int end = run + 1;  // the runs not yet worked out from here on are worked out together
        while (end <= lastRun && !done[end]) ++end;
        const int x = run * RunLength;
        const int count = std::min(end * RunLength, width_) - x;
        GrayLevelsOfPixels(bgr + 3 * static_cast<size_t>(x), count, levels + x);
        std::fill(done + run, done + end, uint8_t{1});
        run = end;
    }
    return levels;
}

}  // namespace photocheck
