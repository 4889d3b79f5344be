#pragma once
#include <cstdint>
#include <vector>

#include "imaging/Bitmap.h"

namespace photocheck {

// The gray level of every pixel of a picture, worked out once. The eye line, the threshold and the
// binarisation of the face checks all compare gray levels of the same unaltered photo.
class GrayMap {
  public:
    explicit GrayMap(const Bitmap& picture);

    int width() const { return width_; }
    int height() const { return height_; }

    // The gray level at (x, y). A row outside raises ScanLineError, as a direct row read does; a
    // column outside reads as white (255).
    int at(int x, int y) const;

  private:
    int width_;
    int height_;
    std::vector<uint8_t> levels_;
};

}  // namespace photocheck
