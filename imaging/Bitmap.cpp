#include "imaging/Bitmap.h"

namespace photocheck {

size_t Bitmap::byteCount(int width, int height) {
    if (width < 0 || height < 0) throw std::invalid_argument("bitmap size must not be negative");
    return static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
}

Bitmap Bitmap::unfilled(int width, int height) {
    Bitmap bitmap;
    bitmap.bytes_.resize(byteCount(width, height));
    bitmap.width_ = width;
    bitmap.height_ = height;
    return bitmap;
}

Bitmap::Bitmap(int width, int height, Colour fill) : width_(width), height_(height) {
    const size_t size = byteCount(width, height);
    if (redOf(fill) == greenOf(fill) && greenOf(fill) == blueOf(fill)) {
        bytes_.assign(size, static_cast<uint8_t>(redOf(fill)));
        return;
    }
    bytes_.resize(size);
    for (size_t i = 0; i < bytes_.size(); i += 3) {
        bytes_[i] = static_cast<uint8_t>(blueOf(fill));
        bytes_[i + 1] = static_cast<uint8_t>(greenOf(fill));
        bytes_[i + 2] = static_cast<uint8_t>(redOf(fill));
    }
}

uint8_t* Bitmap::row(int y) {
    if (y < 0 || y >= height_) throw ScanLineError();
    return bytes_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_) * 3;
}

const uint8_t* Bitmap::row(int y) const {
    if (y < 0 || y >= height_) throw ScanLineError();
    return bytes_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_) * 3;
}

Colour Bitmap::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return InvalidColour;
    const uint8_t* p = row(y) + static_cast<size_t>(x) * 3;
    return makeColour(p[2], p[1], p[0]);
}

void Bitmap::setPixel(int x, int y, Colour c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    uint8_t* p = row(y) + static_cast<size_t>(x) * 3;
    p[0] = static_cast<uint8_t>(blueOf(c));
    p[1] = static_cast<uint8_t>(greenOf(c));
    p[2] = static_cast<uint8_t>(redOf(c));
}

}  // namespace photocheck
