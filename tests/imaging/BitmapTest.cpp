#include <gtest/gtest.h>

#include "imaging/Bitmap.h"
#include "imaging/ImageView.h"

namespace photocheck {
namespace {

TEST(Bitmap, ReadsOutsideYieldTheInvalidColour) {
    Bitmap b(3, 2, makeColour(1, 2, 3));
    EXPECT_EQ(b.pixel(0, 0), makeColour(1, 2, 3));
    EXPECT_EQ(b.pixel(3, 0), InvalidColour);
    EXPECT_EQ(b.pixel(-1, 1), InvalidColour);
    EXPECT_EQ(b.pixel(0, 2), InvalidColour);
}

TEST(Bitmap, RowsHoldBlueGreenRed) {
    Bitmap b(2, 2);
    b.setPixel(1, 1, makeColour(10, 20, 30));
    const uint8_t* row = b.row(1);
    EXPECT_EQ(row[3], 30);
    EXPECT_EQ(row[4], 20);
    EXPECT_EQ(row[5], 10);
    EXPECT_THROW(b.row(2), ScanLineError);
    EXPECT_THROW(b.row(-1), ScanLineError);
}

TEST(ImageView, EmptyViewHasNoRowsUntilItsCanvasIsRead) {
    ImageView view(391, 563);
    EXPECT_FALSE(view.hasPicture());
    try {
        view.picture().row(5);
        FAIL() << "an empty view has no rows";
    } catch (const ScanLineError& e) {
        EXPECT_STREQ(e.what(), "Scan line index out of range");
    }
    const Bitmap& blank = view.canvas();
    EXPECT_EQ(blank.width(), 391);
    EXPECT_EQ(blank.height(), 563);
    EXPECT_TRUE(view.hasPicture());
    EXPECT_EQ(view.picture().pixel(0, 0), makeColour(255, 255, 255));
}

TEST(ImageView, AssignedPictureIsTheViewsOwnCopy) {
    ImageView view(10, 10);
    Bitmap b(4, 4, makeColour(0, 0, 0));
    view.assign(b);
    b.setPixel(0, 0, makeColour(255, 0, 0));
    EXPECT_EQ(view.picture().pixel(0, 0), makeColour(0, 0, 0));
    view.clear();
    EXPECT_FALSE(view.hasPicture());
}

}  // namespace
}  // namespace photocheck
