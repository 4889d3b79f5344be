#pragma once
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "imaging/Unfilled.h"

namespace photocheck {

// A colour value as the pixel reads give it: red in the lowest byte, then green, then blue.
using Colour = uint32_t;
inline constexpr Colour InvalidColour = 0xFFFFFFFFu;  // what a read outside the bitmap yields
inline constexpr Colour makeColour(int r, int g, int b) {
    return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}
inline constexpr int redOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
inline constexpr int greenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
inline constexpr int blueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// Raised when a row outside the bitmap is asked for directly.
class ScanLineError : public std::out_of_range {
  public:
    ScanLineError() : std::out_of_range("Scan line index out of range") {}
};

// A 24-bit bitmap: rows top to bottom, three bytes per pixel in the order blue, green, red.
class Bitmap {
  public:
    Bitmap() = default;
    Bitmap(int width, int height, Colour fill = makeColour(255, 255, 255));
    // A bitmap whose pixels are left as they are, for a writer that sets every one of them.
    static Bitmap unfilled(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    // Direct row access; a row outside the bitmap raises ScanLineError.
    uint8_t* row(int y);
    const uint8_t* row(int y) const;

    // Single-pixel reads and writes; a read outside yields InvalidColour, a write outside does nothing.
    Colour pixel(int x, int y) const;
    void setPixel(int x, int y, Colour c);

    bool operator==(const Bitmap& o) const {
        return width_ == o.width_ && height_ == o.height_ && bytes_ == o.bytes_;
    }
    bool operator!=(const Bitmap& o) const { return !(*this == o); }

  private:
    static size_t byteCount(int width, int height);

    int width_ = 0;
    int height_ = 0;
    UnfilledVector<uint8_t> bytes_;
};

}  // namespace photocheck
