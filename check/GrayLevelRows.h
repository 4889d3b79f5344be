#pragma once
#include <cstdint>
#include <vector>

#include "imaging/Bitmap.h"
#include "imaging/Unfilled.h"

namespace photocheck {

// The gray levels (GrayLevel) of a picture, one byte per pixel, worked out in runs of a row the first
// time one of their levels is asked for: the checks look at a small part of the photo. The memory is
// taken once for the picture's size and kept when the rows are reset for another picture of that size.
class GrayLevelRows {
  public:
    GrayLevelRows() = default;  // for no picture: reset before asking for a row
    explicit GrayLevelRows(const Bitmap& picture) { reset(picture); }
    GrayLevelRows(const GrayLevelRows&) = delete;
    GrayLevelRows& operator=(const GrayLevelRows&) = delete;

    // Takes another picture, which must outlive the rows or stay until the next reset; the levels
    // worked out for the last one are forgotten.
    void reset(const Bitmap& picture);

    int width() const { return width_; }
    int height() const { return height_; }

    // The levels of row y, indexed by column, of which at least columns fromX to toX (as far as they
    // lie in the picture) are worked out. A row outside raises ScanLineError.
    const uint8_t* span(int y, int fromX, int toX) const;

  private:
    static constexpr int RunLength = 16;

    const Bitmap* picture_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int runsPerRow_ = 0;
    mutable UnfilledVector<uint8_t> levels_;  // row after row; a run is written when first asked for
    mutable std::vector<uint8_t> runDone_;    // per run of each row
};

}  // namespace photocheck
