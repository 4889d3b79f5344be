#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "imaging/Bitmap.h"

namespace photocheck {

// The gray levels of a picture, one byte per pixel. A pixel outside the picture reads as white (255),
// so a region or a line may reach past the edge. A row's levels are worked out the first time one of
// them is read: the hair search and the clarity regions look at a small part of the photo.
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
        return row(y)[x];
    }

  private:
    const uint8_t* row(int y) const {
        if (!rowDone_[static_cast<size_t>(y)]) fillRow(y);
        return levels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
    }
    void fillRow(int y) const;

    std::optional<Bitmap> kept_;
    const Bitmap& picture_;
    int width_;
    int height_;
    mutable std::vector<uint8_t> levels_;
    mutable std::vector<bool> rowDone_;
};

}  // namespace photocheck
