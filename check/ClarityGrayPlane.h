#pragma once
#include <cstdint>
#include <memory>
#include <optional>

#include "check/GrayLevelRows.h"
#include "imaging/Bitmap.h"

namespace photocheck {

// The gray levels of a picture, one byte per pixel. A pixel outside the picture reads as white (255),
// so a region or a line may reach past the edge. The levels are worked out in short runs of a row, each
// the first time one of its levels is read: the hair search and the clarity regions look at a small
// part of the photo.
class GrayPlane {
  public:
    static constexpr uint8_t Outside = 255;

    explicit GrayPlane(const GrayLevelRows& levels) : rows_(levels) {}  // the levels must outlive the plane
    explicit GrayPlane(const Bitmap& picture);  // reads the picture, which must outlive the plane
    explicit GrayPlane(Bitmap&& picture);       // keeps the picture
    GrayPlane(const GrayPlane&) = delete;
    GrayPlane& operator=(const GrayPlane&) = delete;

    int width() const { return rows_.width(); }
    int height() const { return rows_.height(); }

    uint8_t level(int x, int y) const {
        if (x < 0 || y < 0 || x >= width() || y >= height()) return Outside;
        return rows_.span(y, x, x)[x];
    }
    // The levels of row y, indexed by column, with columns fromX to toX worked out; the row and those
    // columns must lie in the picture.
    const uint8_t* span(int y, int fromX, int toX) const { return rows_.span(y, fromX, toX); }
    // The levels of row y, columns fromX to toX, into out (Outside for the pixels outside the picture).
    void rowLevels(int y, int fromX, int toX, uint8_t* out) const;

  private:
    std::optional<Bitmap> kept_;
    std::unique_ptr<GrayLevelRows> own_;  // when made from a picture
    const GrayLevelRows& rows_;
};

}  // namespace photocheck
