#include "report/Png.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/Files.h"
#include "platform/OpenFile.h"
#include "platform/SystemReason.h"

namespace photocheck {
namespace {

// The library's fatal errors jump back to the guard with the message kept here.
struct PngWriter {
    png_structp png = nullptr;
    png_infop info = nullptr;
    char message[256] = "";

    ~PngWriter() {
        if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    }
};

void onError(png_structp png, png_const_charp text) {
    auto* writer = static_cast<PngWriter*>(png_get_error_ptr(png));
    std::snprintf(writer->message, sizeof writer->message, "%s", text);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// Every libpng call lies between the guard and the end of this function, which holds no object
// that needs destroying.
bool writeRows(PngWriter& w, const Bitmap& bitmap, FILE* file) {
    w.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &w, onError, onWarning);
    if (!w.png) return false;
    w.info = png_create_info_struct(w.png);
    if (!w.info) return false;
    if (setjmp(png_jmpbuf(w.png))) return false;
    png_init_io(w.png, file);
    png_set_IHDR(w.png, w.info, static_cast<png_uint_32>(bitmap.width()),
                 static_cast<png_uint_32>(bitmap.height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(w.png, w.info);
    png_set_bgr(w.png);  // the bitmap's pixels are blue, green, red
    for (int y = 0; y < bitmap.height(); ++y) png_write_row(w.png, bitmap.row(y));
    png_write_end(w.png, nullptr);
    return true;
}

}  // namespace

void writePng(const Bitmap& bitmap, const std::string& path) {
    if (bitmap.empty()) throw PngError("无法写入测量图 " + path + "（图是空的）");
    CFile file = openCFile(path, "wb");
    if (!file) throw PngError("无法建立文件 " + path + "（" + systemReason(errno) + "）");
    writePng(bitmap, file.release(), path);
}

void writePng(const Bitmap& bitmap, std::FILE* opened, const std::string& path) {
    std::unique_ptr<FILE, FileCloser> file(opened);
    if (bitmap.empty()) throw PngError("无法写入测量图 " + path + "（图是空的）");
    PngWriter writer;
    if (!writeRows(writer, bitmap, file.get()))
        throw PngError("无法写入文件 " + path + "（" +
                       (writer.message[0] ? writer.message : "libpng failed") + "）");
    if (std::fclose(file.release()) != 0)
        throw PngError("无法写入文件 " + path + "（" + systemReason(errno) + "）");
}

}  // namespace photocheck
