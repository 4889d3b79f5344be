#include <gtest/gtest.h>

#include "imaging/ImageView.h"

namespace photocheck {
namespace {

TEST(ImageViewShare, SharedPictureIsOneBitmapForBothViews) {
    ImageView first(10, 10), second(10, 10);
    first.assign(Bitmap(4, 3, makeColour(1, 2, 3)));
    second.share(first);
    EXPECT_TRUE(second.hasPicture());
    EXPECT_EQ(&first.picture(), &second.picture());
}

TEST(ImageViewShare, PaintingOnOneViewLeavesTheOtherAsItWas) {
    ImageView first(10, 10), second(10, 10);
    first.assign(Bitmap(4, 3, makeColour(1, 2, 3)));
    second.share(first);
    second.canvas().setPixel(0, 0, makeColour(9, 9, 9));
    EXPECT_EQ(second.picture().pixel(0, 0), makeColour(9, 9, 9));
    EXPECT_EQ(first.picture().pixel(0, 0), makeColour(1, 2, 3));
    first.canvas().setPixel(1, 0, makeColour(7, 7, 7));
    EXPECT_EQ(second.picture().pixel(1, 0), makeColour(1, 2, 3));
}

TEST(ImageViewShare, ClearingOrReplacingOneViewKeepsThePictureOfTheOther) {
    ImageView first(10, 10), second(10, 10);
    first.assign(Bitmap(4, 3, makeColour(1, 2, 3)));
    second.share(first);
    const Bitmap& kept = second.picture();
    first.clear();
    EXPECT_FALSE(first.hasPicture());
    first.assign(Bitmap(2, 2, makeColour(0, 0, 0)));
    EXPECT_EQ(kept.width(), 4);
    EXPECT_EQ(second.picture().pixel(0, 0), makeColour(1, 2, 3));
}

TEST(ImageViewShare, SharingAnEmptyViewEmptiesThisOne) {
    ImageView empty(10, 10), view(10, 10);
    view.assign(Bitmap(4, 3));
    view.share(empty);
    EXPECT_FALSE(view.hasPicture());
}

TEST(ImageViewShare, AMadePictureIsMadeOnceWhenFirstReadAndSharedAsIs) {
    ImageView made(10, 10), other(10, 10);
    int makings = 0;
    made.assignMade([&makings] {
        ++makings;
        return Bitmap(4, 3, makeColour(1, 2, 3));
    });
    EXPECT_TRUE(made.hasPicture());
    EXPECT_EQ(makings, 0);
    other.share(made);
    EXPECT_EQ(makings, 1);
    EXPECT_EQ(&made.picture(), &other.picture());
    EXPECT_EQ(made.picture().pixel(3, 2), makeColour(1, 2, 3));
    made.assign(Bitmap(2, 2));
    EXPECT_EQ(makings, 1);
    made.assignMade([&makings] {
        ++makings;
        return Bitmap(1, 1);
    });
    made.clear();
    EXPECT_FALSE(made.hasPicture());
    EXPECT_EQ(made.picture().width(), 0);
    EXPECT_EQ(makings, 1);
}

}  // namespace
}  // namespace photocheck
