#pragma once
#include <optional>

#include "imaging/Bitmap.h"

namespace photocheck {

// One of the photo views of the window: holds one picture or none. The checks read pictures from the
// views and write their results into them; the window paints them.
class ImageView {
public:
    ImageView(int width, int height) : width_(width), height_(height) {}

    int width() const { return width_; }
    int height() const { return height_; }

    bool hasPicture() const { return picture_.has_value(); }
    // The picture, or an empty bitmap when the view holds none (reading its rows then fails).
    const Bitmap& picture() const { return picture_ ? *picture_ : empty_; }
    void assign(const Bitmap& b) { picture_ = b; }
    void assign(Bitmap&& b) { picture_ = std::move(b); }
    void clear() { picture_.reset(); }

    // The pixels as painting or a pixel read sees them: an empty view first gets a blank bitmap of its
    // own size, which it then keeps as its picture.
    Bitmap& canvas() {
        if (!picture_) picture_ = Bitmap(width_, height_);
        return *picture_;
    }

private:
    int width_;
    int height_;
    std::optional<Bitmap> picture_;
    Bitmap empty_;
};

}  // namespace photocheck
