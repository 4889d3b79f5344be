#pragma once
#include <memory>

#include "imaging/Bitmap.h"

namespace photocheck {

// One of the photo views of the window: holds one picture or none. The checks read pictures from the
// views and write their results into them; the window paints them. Views can show one picture
// together; the first of them that is painted on gets a copy of its own.
class ImageView {
  public:
    ImageView(int width, int height) : width_(width), height_(height) {}

    int width() const { return width_; }
    int height() const { return height_; }

    bool hasPicture() const { return picture_ != nullptr; }
    // The picture, or an empty bitmap when the view holds none (reading its rows then fails).
    const Bitmap& picture() const { return picture_ ? *picture_ : empty_; }
    void assign(const Bitmap& b) { picture_ = std::make_shared<Bitmap>(b); }
    void assign(Bitmap&& b) { picture_ = std::make_shared<Bitmap>(std::move(b)); }
    // Shows the picture of another view without copying it.
    void share(const ImageView& other) { picture_ = other.picture_; }
    void clear() { picture_.reset(); }
    // The picture for keeping beyond the view's next change; none when the view holds none.
    std::shared_ptr<const Bitmap> sharedPicture() const { return picture_; }

    // The pixels as a pixel read sees them: an empty view first gets a blank bitmap of its own size,
    // which it then keeps as its picture. A picture that views show together stays shared.
    const Bitmap& pixels() {
        if (!picture_) picture_ = std::make_shared<Bitmap>(width_, height_);
        return *picture_;
    }

    // The pixels as painting sees them: blank for an empty view as for a read, and a copy of its own
    // when the picture was shown by other views too.
    Bitmap& canvas() {
        if (!picture_)
            picture_ = std::make_shared<Bitmap>(width_, height_);
        else if (picture_.use_count() > 1)
            picture_ = std::make_shared<Bitmap>(*picture_);
        return *picture_;
    }

  private:
    int width_;
    int height_;
    std::shared_ptr<Bitmap> picture_;
    Bitmap empty_;
};

}  // namespace photocheck
