// JPEG files of every awkward kind: each one is decoded or refused with the library's message, never
// a crash, a hang or a huge allocation.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <vector>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "check/FileCheck.h"
#include "imaging/Jpeg.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using test::TempDir;

Bitmap photoPicture() {
    return test::makeBitmap(PhotoWidth, PhotoHeight, [](int x, int y) {
        return makeColour((x * 7 + y) % 256, (y * 3) % 256, (x * y) % 251);
    });
}

std::string jpegErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const JpegError& e) {
        return e.what();
    }
    return "no error";
}

// Where the entropy-coded data that starts at `from` ends: the next marker that is neither a stuffed
// zero nor a restart marker.
size_t endOfScanData(const std::string& jpeg, size_t from) {
    for (size_t i = from; i + 1 < jpeg.size(); ++i) {
        const auto next = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && next != 0x00 && !(next >= 0xD0 && next <= 0xD7))
            return i;
    }
    return jpeg.size();
}

// A progressive file whose first scan is repeated until the file holds `scans` scans or more. The
// repeats are legal scans that libjpeg reads with a warning about the progression.
std::string progressiveWithRepeatedScans(const std::string& progressive, int extraScans) {
    const size_t sos = progressive.find("\xFF\xDA");
    const size_t end = endOfScanData(progressive, sos + 2);
    const std::string scan = progressive.substr(sos, end - sos);
    std::string out = progressive.substr(0, end);
    out.reserve(progressive.size() + scan.size() * static_cast<size_t>(extraScans));
    for (int i = 0; i < extraScans; ++i) out += scan;
    return out + progressive.substr(end);
}

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

// A four-component CMYK file, written with the library directly.
void writeCmykJpeg(const std::string& path, int width, int height) {
    std::unique_ptr<FILE, FileCloser> out(std::fopen(path.c_str(), "wb"));
    ASSERT_TRUE(out);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out.get());
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> line(static_cast<size_t>(width) * 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (size_t i = 0; i < line.size(); ++i)
            line[i] = static_cast<JSAMPLE>((i + cinfo.next_scanline) % 256);
        JSAMPROW row = line.data();
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
}

struct HostileJpegTest : ::testing::Test {
    TempDir dir;
    CheckContext ctx;
    std::string baseline = dir.file("baseline.jpg");

    void SetUp() override { writeJpeg(photoPicture(), baseline, {.quality = 80}); }
};

TEST_F(HostileJpegTest, ThousandsOfProgressiveScansAreRefusedAtTheScanLimit) {
    const std::string progressive = dir.file("progressive.jpg");
    writeJpeg(photoPicture(), progressive, {.quality = 80, .progressive = true});
    const std::string path = dir.file("scans.jpg");
    test::writeFile(path, progressiveWithRepeatedScans(test::readFile(progressive), 3000));
    EXPECT_EQ(jpegErrorOf([&] { FileCheck(ctx, path); }), "Too many progressive scans (more than 500)");
    EXPECT_EQ(ctx.row.columns, ",mode");
    EXPECT_FALSE(ctx.orgImage.hasPicture());
}

TEST_F(HostileJpegTest, RepeatedScansBelowTheLimitStillDecode) {
    const std::string progressive = dir.file("progressive.jpg");
    writeJpeg(photoPicture(), progressive, {.quality = 80, .progressive = true});
    const std::string path = dir.file("scans.jpg");
    test::writeFile(path, progressiveWithRepeatedScans(test::readFile(progressive), 400));
    EXPECT_TRUE(FileCheck(ctx, path));
    EXPECT_EQ(ctx.orgImage.picture(), decodeJpeg(progressive));
}

TEST_F(HostileJpegTest, ProgressiveAndArithmeticFilesDecodeToTheBaselinePixels) {
    const std::string progressive = dir.file("progressive.jpg");
    const std::string arithmetic = dir.file("arithmetic.jpg");
    const std::string both = dir.file("both.jpg");
    writeJpeg(photoPicture(), progressive, {.quality = 80, .progressive = true});
    writeJpeg(photoPicture(), arithmetic, {.quality = 80, .arithmetic = true});
    writeJpeg(photoPicture(), both, {.quality = 80, .progressive = true, .arithmetic = true});
    const Bitmap expected = decodeJpeg(baseline);
    for (const std::string& path : {progressive, arithmetic, both}) {
        ctx.row.clear();
        ASSERT_TRUE(FileCheck(ctx, path)) << path;
        EXPECT_EQ(ctx.orgImage.picture(), expected) << path;
    }
}

TEST_F(HostileJpegTest, TruncatedDataDecodeWithTheMissingRowsGray) {
    const std::string bytes = test::readFile(baseline);
    const std::string path = dir.file("cut.jpg");
    test::writeFile(path, bytes.substr(0, bytes.size() / 2));
    ASSERT_TRUE(FileCheck(ctx, path));
    const Bitmap& cut = ctx.orgImage.picture();
    const Bitmap whole = decodeJpeg(baseline);
    EXPECT_EQ(cut.pixel(5, 5), whole.pixel(5, 5));
    for (int x = 0; x < PhotoWidth; x += 7)
        ASSERT_EQ(cut.pixel(x, PhotoHeight - 1), makeColour(128, 128, 128));
}

TEST_F(HostileJpegTest, TruncatedProgressiveDataDecode) {
    const std::string progressive = dir.file("progressive.jpg");
    writeJpeg(photoPicture(), progressive, {.quality = 80, .progressive = true});
    const std::string bytes = test::readFile(progressive);
    const std::string path = dir.file("cut.jpg");
    test::writeFile(path, bytes.substr(0, bytes.size() / 3));
    EXPECT_TRUE(FileCheck(ctx, path));
    EXPECT_EQ(ctx.orgImage.picture().width(), PhotoWidth);
}

TEST_F(HostileJpegTest, AFileCutInsideItsHeaderIsRefused) {
    const std::string bytes = test::readFile(baseline);
    const std::string path = dir.file("header.jpg");
    const auto messageAfterCut = [&](size_t size) {
        test::writeFile(path, bytes.substr(0, size));
        ctx.row.clear();
        return jpegErrorOf([&] { FileCheck(ctx, path); });
    };
    EXPECT_EQ(messageAfterCut(1), "Not a JPEG file: starts with 0xff 0xff");
    EXPECT_EQ(messageAfterCut(2), "JPEG datastream contains no image");
    EXPECT_EQ(messageAfterCut(20), "JPEG datastream contains no image");
    EXPECT_EQ(messageAfterCut(bytes.find("\xFF\xC0") + 4), "Bogus marker length");
    EXPECT_EQ(messageAfterCut(bytes.find("\xFF\xDA") + 4), "Bogus marker length");
    EXPECT_EQ(ctx.row.columns, ",mode");
}

TEST_F(HostileJpegTest, AnEmptyFileIsRefused) {
    test::writeFile(dir.file("empty.jpg"), "");
    EXPECT_EQ(jpegErrorOf([&] { FileCheck(ctx, dir.file("empty.jpg")); }), "Empty input file");
    EXPECT_EQ(ctx.row.columns, ",mode");
}

TEST_F(HostileJpegTest, ACmykFileIsRefusedWithTheColourConversionMessage) {
    const std::string path = dir.file("cmyk.jpg");
    writeCmykJpeg(path, PhotoWidth, PhotoHeight);
    EXPECT_EQ(jpegErrorOf([&] { FileCheck(ctx, path); }), "Unsupported color conversion request");
    EXPECT_FALSE(ctx.orgImage.hasPicture());
    // At another size the header alone decides.
    writeCmykJpeg(path, 40, 30);
    ctx.row.clear();
    EXPECT_FALSE(FileCheck(ctx, path));
    EXPECT_EQ(ctx.row.values, ", ' jpg ' , ' 40*30 ' ,'照片像素必须是390*567' ");
}

}  // namespace
}  // namespace photocheck
