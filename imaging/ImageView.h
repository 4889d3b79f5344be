#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "imaging/Bitmap.h"

namespace photocheck {

// One of the photo views of the window: holds one picture or none. The checks read pictures from the
// views and write their results into them; the window paints them. Views can show one picture
// together; the first of them that is painted on gets a copy of its own.
//
// A picture can also be given as the way to make it (assignMade): it is made the first time the view's
// picture is read, so a picture nobody looks at (the threshold view during a batch run) costs nothing.
// Like the rest of a check context, a view is used by one thread at a time.
class ImageView {
  public:
    ImageView(int width, int height) : width_(width), height_(height) {}

    int width() const { return width_; }
    int height() const { return height_; }

    bool hasPicture() const { return picture_ != nullptr || make_ != nullptr; }
    // Changes whenever the view may show other pixels: another picture, or its own handed out for
    // painting. What was worked out from the pixels holds while it stays the same.
    uint64_t pictureVersion() const { return version_; }
    // The picture, or an empty bitmap when the view holds none (reading its rows then fails).
    const Bitmap& picture() const { return held() ? *picture_ : empty_; }
    void assign(const Bitmap& b) { replace(std::make_shared<Bitmap>(b)); }
    void assign(Bitmap&& b) { replace(std::make_shared<Bitmap>(std::move(b))); }
    // The picture that make() gives, made when it is first read. Whatever make() reads it must keep.
    void assignMade(std::function<Bitmap()> make) {
        picture_.reset();
        make_ = std::move(make);
        ++version_;
    }
    // Shows the picture of another view without copying it.
    void share(const ImageView& other) { replace(other.held()); }
    void clear() { replace(nullptr); }
    // The picture for keeping beyond the view's next change; none when the view holds none.
    std::shared_ptr<const Bitmap> sharedPicture() const { return held(); }

    // The pixels as a pixel read sees them: an empty view first gets a blank bitmap of its own size,
    // which it then keeps as its picture. A picture that views show together stays shared.
    const Bitmap& pixels() {
        if (!picture_) {
            picture_ = std::make_shared<Bitmap>(width_, height_);
            ++version_;
        }
        return *picture_;
    }

    // The pixels as painting sees them: blank for an empty view as for a read, and a copy of its own
    // when the picture was shown by other views too.
    Bitmap& canvas() {
        ++version_;
        if (!held())
            picture_ = std::make_shared<Bitmap>(width_, height_);
        else if (picture_.use_count() > 1)
            picture_ = std::make_shared<Bitmap>(*picture_);
        return *picture_;
    }

  private:
    void replace(std::shared_ptr<Bitmap> picture) {
        make_ = nullptr;
        picture_ = std::move(picture);
        ++version_;
    }
    // The picture, made now when it was given as the way to make it.
    const std::shared_ptr<Bitmap>& held() const {
        if (make_) {
            picture_ = std::make_shared<Bitmap>(make_());
            make_ = nullptr;
        }
        return picture_;
    }

    int width_;
    int height_;
    mutable std::shared_ptr<Bitmap> picture_;
    mutable std::function<Bitmap()> make_;
    uint64_t version_ = 0;
    Bitmap empty_;
};

}  // namespace photocheck
