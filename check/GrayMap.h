#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "check/GrayLevelRows.h"
#include "imaging/Bitmap.h"
#include "imaging/ColourModel.h"

namespace photocheck {

// The gray levels (GrayLevel) of a picture's pixels for the projections of the face checks. The levels
// are worked out in short runs of a row the first time they are read, since the projections only look
// at the middle of the photo.
class GrayMap {
  public:
    explicit GrayMap(const GrayLevelRows& levels) : rows_(levels) {}  // the levels must outlive the map
    // The picture must outlive the map.
    explicit GrayMap(const Bitmap& picture) : own_(std::make_unique<GrayLevelRows>(picture)), rows_(*own_) {}
    explicit GrayMap(Bitmap&&) = delete;

    int width() const { return rows_.width(); }
    int height() const { return rows_.height(); }

    // The levels of row y; a row outside raises ScanLineError, as a direct row read does.
    const uint8_t* row(int y) const { return rows_.span(y, 0, width() - 1); }
    // The levels of row y, indexed by column, of which columns fromX to toX (as far as they lie in the
    // picture) are worked out; a row outside raises ScanLineError.
    const uint8_t* span(int y, int fromX, int toX) const { return rows_.span(y, fromX, toX); }
    // The gray level at (x, y); a column outside reads as white (255), a row outside raises.
    int at(int x, int y) const {
        const uint8_t* levels = rows_.span(y, x, x);
        return x < 0 || x >= width() ? 255 : levels[x];
    }
    // Pixels of row y darker than the threshold in columns fromX to toX (columns outside are white).
    int darkInRow(int y, int fromX, int toX, int threshold) const;

  private:
    std::unique_ptr<GrayLevelRows> own_;  // when made from a picture
    const GrayLevelRows& rows_;
};

// Whether a pixel's gray level is above a threshold, so a whole picture can be judged without working
// out every level. A level above t means an exact sum (30 R + 59 G + 11 B) / 100 of at least t + 0.5;
// a sum of exactly t + 0.5 is a tie, which GrayLevel settles.
inline bool grayLevelAbove(int r, int g, int b, int threshold) {
    const int hundredths = 30 * r + 59 * g + 11 * b;
    const int boundary = threshold * 100 + 50;
    if (hundredths != boundary) return hundredths > boundary;
    return GrayLevel(r, g, b) > threshold;
}

}  // namespace photocheck
