#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/Bitmap.h"

namespace photocheck {

// The gray levels of a picture, one byte per pixel. A pixel outside the picture reads as white (255),
// so a region or a line may reach past the edge. The levels are worked out in short runs of a row, each
// the first time one of its levels is read: the hair search and the clarity regions look at a small
// part of the photo.
class GrayPlane {
  public:
    static constexpr uint8_t Outside = 255;

    explicit GrayPlane(const Bitmap& picture);  // reads the picture, which must outlive the plane
    explicit GrayPlane(Bitmap&& picture);       // keeps the picture
    GrayPlane(const GrayPlane&) = delete;
    GrayPlane& operator=(const GrayPlane&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }

    uint8_t level(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return Outside;
        const size_t run = static_cast<size_t>(y) * runsPerRow_ + static_cast<size_t>(x / RunLength);
        if (!runDone_[run]) fillRun(x / RunLength, y);
        return levels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    }

  private:
    static constexpr int RunLength = 32;

    void fillRun(int run, int y) const;

    std::optional<Bitmap> kept_;
    const Bitmap& picture_;
    int width_;
    int height_;
    size_t runsPerRow_;
    mutable std::vector<uint8_t> levels_;
    mutable std::vector<uint8_t> runDone_;
};

}  // namespace photocheck
