#pragma once
#include <cstdint>
#include <vector>

#include "imaging/Bitmap.h"

namespace photocheck {

// The gray levels (GrayLevel) of a picture, one byte per pixel, worked out in runs of a row the first
// time one of their levels is asked for: the checks look at a small part of the photo. Only the rows
// asked for take memory. The picture must outlive the rows.
class GrayLevelRows {
  public:
    explicit GrayLevelRows(const Bitmap& picture);
    GrayLevelRows(const GrayLevelRows&) = delete;
    GrayLevelRows& operator=(const GrayLevelRows&) = delete;

    int width() const { return picture_.width(); }
    int height() const { return picture_.height(); }

    // The levels of row y, indexed by column, of which at least columns fromX to toX (as far as they
    // lie in the picture) are worked out. A row outside raises ScanLineError.
    const uint8_t* span(int y, int fromX, int toX) const;

  private:
    static constexpr int RunLength = 32;
    static constexpr int32_t NotYet = -1;

    const Bitmap& picture_;
    int runsPerRow_;
    mutable std::vector<int32_t> rowSlot_;  // the row's place among the rows asked for, NotYet before
    mutable std::vector<uint8_t> levels_;   // the rows asked for in that order; never outgrows its capacity
    mutable std::vector<uint8_t> runDone_;  // per run of each row asked for
};

}  // namespace photocheck
