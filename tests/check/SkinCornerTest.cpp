#include <gtest/gtest.h>

#include "check/ClothingAndPupils.h"
#include "tests/check/FacePhoto.h"

namespace photocheck {
namespace {

using test::blankPhoto;

constexpr Colour Skin = makeColour(220, 170, 140);
constexpr Colour Cloth = makeColour(30, 60, 120);

Hsv hsvOf(Colour c) {
    Hsv hsv;
    RgbToHsv(hsv, redOf(c), greenOf(c), blueOf(c));
    return hsv;
}

// The corner region in its scan order (rows top to bottom, columns left to right), the first
// `skinPixels` of them in the skin colour and the rest in another.
Bitmap cornerWithSkin(int skinPixels, Colour skin = Skin, Colour other = Cloth) {
    Bitmap photo = blankPhoto();
    int painted = 0;
    for (int y = CornerTop; y < PhotoHeight; ++y)
        for (int x = CornerLeft; x < PhotoWidth; ++x)
            photo.setPixel(x, y, painted++ < skinPixels ? skin : other);
    return photo;
}

TEST(SkinCornerTest, CornerOfTheStandardPhotoHas940Pixels) {
    EXPECT_EQ(940, countSkinInCorner(blankPhoto(), hsvOf(Skin)).total);
}

TEST(SkinCornerTest, PercentIsCutWithoutRounding) {
    for (const auto& [skin, percent] : {std::pair{752, 80}, {753, 80}, {761, 80}, {762, 81}}) {
        const SkinCount count = countSkinInCorner(cornerWithSkin(skin), hsvOf(Skin));
        EXPECT_EQ(skin, count.count);
        EXPECT_EQ(percent, skinPercentOf(count)) << skin;
    }
}

TEST(SkinCornerTest, EmptyRegionIsNoSkin) {
    EXPECT_EQ(0, skinPercentOf(countSkinInCorner(Bitmap(300, 500), hsvOf(Skin))));
}

TEST(SkinCornerTest, ToleranceIsFiveDegreesAndFifteenLevels) {
    const Hsv reference = hsvOf(Skin);  // h 23, s 93, v 220
    ASSERT_EQ(23, reference.h);
    const auto isSkin = [&](int r, int g, int b) {
        return countSkinInCorner(cornerWithSkin(940, makeColour(r, g, b)), reference).count == 940;
    };
    EXPECT_TRUE(isSkin(220, 177, 140));   // h 28
    EXPECT_FALSE(isSkin(220, 178, 140));  // h 29
    EXPECT_TRUE(isSkin(220, 164, 140));   // h 18
    EXPECT_FALSE(isSkin(220, 162, 140));  // h 17
    EXPECT_TRUE(isSkin(220, 162, 127));   // s 108
    EXPECT_FALSE(isSkin(220, 162, 126));  // s 109
    EXPECT_TRUE(isSkin(205, 159, 130));   // v 205
    EXPECT_FALSE(isSkin(204, 158, 130));  // v 204
}

TEST(SkinCornerTest, GrayReferenceHasHueZero) {
    Bitmap photo = blankPhoto(makeColour(128, 128, 128));
    const Hsv reference = skinReference(photo, 10, 10);
    EXPECT_EQ(0, reference.h);
    EXPECT_EQ(0, reference.s);
    EXPECT_EQ(128, reference.v);
    EXPECT_EQ(940, countSkinInCorner(photo, reference).count);
}

TEST(SkinCornerTest, GrayPixelCarriesTheHueOfTheLatestColouredOne) {
    Bitmap photo = blankPhoto(makeColour(128, 128, 128));
    const Hsv reference = skinReference(photo, 10, 10);
    const Colour hue3 = makeColour(255, 12, 0);
    const Colour hue220 = makeColour(0, 85, 255);
    ASSERT_EQ(3, hsvOf(hue3).h);
    ASSERT_EQ(220, hsvOf(hue220).h);

    photo.setPixel(CornerLeft, CornerTop, hue3);  // itself too saturated; the gray after it keep hue 3
    EXPECT_EQ(939, countSkinInCorner(photo, reference).count);
    photo.setPixel(CornerLeft, CornerTop, hue220);
    EXPECT_EQ(0, countSkinInCorner(photo, reference).count);
    photo.setPixel(CornerLeft + 10, CornerTop + 20, hue3);  // from here on the gray match again
    EXPECT_EQ(940 - 20 * 20 - 11, countSkinInCorner(photo, reference).count);
}

TEST(SkinCornerTest, HueDoesNotWrapAround) {
    const Colour hue2 = makeColour(255, 8, 0);
    const Colour hue358 = makeColour(255, 0, 12);
    ASSERT_EQ(2, hsvOf(hue2).h);
    ASSERT_EQ(358, hsvOf(hue358).h);
    ASSERT_EQ(hsvOf(hue2).s, hsvOf(hue358).s);
    ASSERT_EQ(hsvOf(hue2).v, hsvOf(hue358).v);
    EXPECT_EQ(0, countSkinInCorner(cornerWithSkin(940, hue358), hsvOf(hue2)).count);
    EXPECT_EQ(940, countSkinInCorner(cornerWithSkin(940, hue2), hsvOf(hue2)).count);
}

TEST(SkinCornerTest, ReferenceOutsideThePhotoReadsWhite) {
    const Hsv reference = skinReference(blankPhoto(), -1, 5);
    EXPECT_EQ(0, reference.s);
    EXPECT_EQ(255, reference.v);
}

}  // namespace
}  // namespace photocheck
