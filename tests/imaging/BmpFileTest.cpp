#include <gtest/gtest.h>

#include "imaging/BmpFile.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

TEST(BmpFile, A24BitFileStoredBottomUpReadsTopRowFirst) {
    const test::TempDir dir;
    const Bitmap written =
        test::makeBitmap(3, 2, [](int x, int y) { return makeColour(x * 80, y * 200, 7); });
    test::writeFile(dir.file("a.bmp"), test::bmpFileOf(written));
    EXPECT_EQ(decodeBmp(dir.file("a.bmp")), written);
}

TEST(BmpFile, APalettedFileStoredTopDownTakesItsColoursFromThePalette) {
    const test::TempDir dir;
    std::string file = "BM";
    const auto put = [&file](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) file += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(14 + 40 + 8 + 8, 4), put(0, 4), put(14 + 40 + 8, 4);
    put(40, 4), put(3, 4), put(static_cast<uint32_t>(-2), 4), put(1, 2), put(8, 2);
    put(0, 4), put(0, 4), put(0, 4), put(0, 4), put(2, 4), put(0, 4);  // two palette entries
    put(0x00FF0000, 4), put(0x000000FF, 4);                            // red, blue (stored B, G, R, 0)
    file += std::string("\x00\x01\x00\x00\x01\x01\x00\x00", 8);        // rows of 3 indices, padded to 4
    test::writeFile(dir.file("p.bmp"), file);
    const Bitmap b = decodeBmp(dir.file("p.bmp"));
    ASSERT_EQ(b.width(), 3);
    ASSERT_EQ(b.height(), 2);
    EXPECT_EQ(b.pixel(0, 0), makeColour(255, 0, 0));
    EXPECT_EQ(b.pixel(1, 0), makeColour(0, 0, 255));
    EXPECT_EQ(b.pixel(0, 1), makeColour(0, 0, 255));
}

TEST(BmpFile, ACutFileOrAnotherFormatIsNotAValidBitmap) {
    const test::TempDir dir;
    const std::string whole = test::bmpFileOf(Bitmap(5, 5));
    test::writeFile(dir.file("cut.bmp"), whole.substr(0, whole.size() - 1));
    EXPECT_THROW(decodeBmp(dir.file("cut.bmp")), BmpError);
    test::writeFile(dir.file("text.bmp"), "not a bitmap");
    EXPECT_THROW(decodeBmp(dir.file("text.bmp")), BmpError);
    EXPECT_THROW(decodeBmp(dir.file("missing.bmp")), std::runtime_error);
}

}  // namespace
}  // namespace photocheck
