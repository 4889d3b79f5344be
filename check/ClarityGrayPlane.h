#pragma once
#include <cstdint>
#include <vector>

#include "imaging/Bitmap.h"

namespace photocheck {

// The gray levels of a picture, one byte per pixel. A pixel outside the picture reads as white (255),
// so a region or a line may reach past the edge.
class GrayPlane {
  public:
    static constexpr uint8_t Outside = 255;

    explicit GrayPlane(const Bitmap& picture);

    int width() const { return width_; }
    int height() const { return height_; }

    uint8_t level(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return Outside;
        return levels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    }

  private:
    int width_;
    int height_;
    std::vector<uint8_t> levels_;
};

}  // namespace photocheck
