#include "imaging/Jpeg.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/OperatorError.h"

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "imaging/Unfilled.h"
#include "platform/Files.h"
#include "platform/OpenFile.h"

namespace photocheck {
namespace {

// Progressive files may hold any number of scans; real photos have around ten.
constexpr int MaxProgressiveScans = 500;

// Fatal library errors leave through longjmp to the guard that turns them into JpegError; warnings are
// dropped.
struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void onFatalError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void onMessage(j_common_ptr, int) {}

struct ScanLimit {
    jpeg_progress_mgr pub;
};

void checkScanCount(j_common_ptr cinfo) {
    if (cinfo->is_decompressor) {
        auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
        if (d->progressive_mode && d->input_scan_number > MaxProgressiveScans) {
            auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
            std::snprintf(err->message, sizeof err->message, "Too many progressive scans (more than %d)",
                          MaxProgressiveScans);
            std::longjmp(err->jump, 1);
        }
    }
}

}  // namespace

// A photo is read in a few large reads rather than the library's 4 KB ones.
constexpr size_t ReadBufferBytes = 64 * 1024;

struct JpegReader::Impl {
    UnfilledVector<char> readBuffer = UnfilledVector<char>(ReadBufferBytes);  // outlives the file below
    FileHandle file;
    int64_t size = 0;
    ErrorManager err{};
    ScanLimit progress{};
    jpeg_decompress_struct cinfo{};
    bool created = false;
    bool decoded = false;

    ~Impl() {
        if (created) jpeg_destroy_decompress(&cinfo);
    }
};

JpegReader::JpegReader(const std::string& path) : impl_(std::make_unique<Impl>()) {
    Impl& s = *impl_;
    FileForReading opened = openRegularFileForReading(path);
    s.file = std::move(opened.handle);
    s.size = opened.size;
    std::setvbuf(s.file.get(), s.readBuffer.data(), _IOFBF, s.readBuffer.size());

    s.cinfo.err = jpeg_std_error(&s.err.pub);
    s.err.pub.error_exit = onFatalError;
    s.err.pub.emit_message = onMessage;
    s.err.pub.output_message = [](j_common_ptr) {};
    if (setjmp(s.err.jump)) throw JpegError(s.err.message);
    jpeg_create_decompress(&s.cinfo);
    s.created = true;
    s.progress.pub.progress_monitor = checkScanCount;
    s.cinfo.progress = &s.progress.pub;
    jpeg_stdio_src(&s.cinfo, s.file.get());
    jpeg_read_header(&s.cinfo, TRUE);
}

JpegReader::~JpegReader() = default;

int JpegReader::width() const {
    return static_cast<int>(impl_->cinfo.image_width);
}
int JpegReader::height() const {
    return static_cast<int>(impl_->cinfo.image_height);
}
int64_t JpegReader::fileSize() const {
    return impl_->size;
}

Bitmap JpegReader::decode() {
    Impl& s = *impl_;
    if (s.decoded) throw std::logic_error("JpegReader::decode called twice");
    s.decoded = true;
    Bitmap bitmap;
    if (setjmp(s.err.jump)) throw JpegError(s.err.message);
    // The library's defaults, spelled out: the decoded values depend on every one of them.
    s.cinfo.scale_num = 1;
    s.cinfo.scale_denom = 1;
    s.cinfo.dct_method = JDCT_ISLOW;
    s.cinfo.do_fancy_upsampling = TRUE;
    s.cinfo.quantize_colors = FALSE;
#ifdef JCS_EXTENSIONS
    s.cinfo.out_color_space = JCS_EXT_BGR;  // same values as RGB, in the bitmap's byte order
#else
    s.cinfo.out_color_space = JCS_RGB;
#endif
    jpeg_start_decompress(&s.cinfo);
    // Every row is written below, so the pixels are not filled first.
    bitmap =
        Bitmap::unfilled(static_cast<int>(s.cinfo.output_width), static_cast<int>(s.cinfo.output_height));
    while (s.cinfo.output_scanline < s.cinfo.output_height) {
        JSAMPROW row = bitmap.row(static_cast<int>(s.cinfo.output_scanline));
        jpeg_read_scanlines(&s.cinfo, &row, 1);
#ifndef JCS_EXTENSIONS
        for (int x = 0; x < bitmap.width(); ++x) std::swap(row[3 * x], row[3 * x + 2]);
#endif
    }
    jpeg_finish_decompress(&s.cinfo);
    return bitmap;
}

Bitmap decodeJpeg(const std::string& path) {
    return JpegReader(path).decode();
}

namespace {
struct Compressor {
    ErrorManager err{};
    jpeg_compress_struct cinfo{};
    bool created = false;
    ~Compressor() {
        if (created) jpeg_destroy_compress(&cinfo);
    }
};

}  // namespace

namespace {

// Sets the compression up after the destination and writes every row through the line buffer of
// one row. Fatal errors jump to the caller's guard, so nothing here needs destroying.
void compressRows(Compressor& c, const Bitmap& bitmap, const JpegWriteOptions& options,
                  std::vector<uint8_t>& line) {
    c.cinfo.image_width = static_cast<JDIMENSION>(bitmap.width());
    c.cinfo.image_height = static_cast<JDIMENSION>(bitmap.height());
    c.cinfo.input_components = 3;
    c.cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c.cinfo);
    if (options.grayscale) jpeg_set_colorspace(&c.cinfo, JCS_GRAYSCALE);
    jpeg_set_quality(&c.cinfo, options.quality, TRUE);
    if (options.progressive) jpeg_simple_progression(&c.cinfo);
    if (options.arithmetic) c.cinfo.arith_code = TRUE;
    jpeg_start_compress(&c.cinfo, TRUE);
    while (c.cinfo.next_scanline < c.cinfo.image_height) {
        const uint8_t* src = bitmap.row(static_cast<int>(c.cinfo.next_scanline));
        for (int x = 0; x < bitmap.width(); ++x) {
            line[3 * x] = src[3 * x + 2];
            line[3 * x + 1] = src[3 * x + 1];
            line[3 * x + 2] = src[3 * x];
        }
        JSAMPROW row = line.data();
        jpeg_write_scanlines(&c.cinfo, &row, 1);
    }
    jpeg_finish_compress(&c.cinfo);
}

// The library's growing memory destination.
struct MemoryDestination {
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    ~MemoryDestination() { std::free(bytes); }
};

}  // namespace

void writeJpeg(const Bitmap& bitmap, const std::string& path, const JpegWriteOptions& options) {
    const CFile out = openCFile(path, "wb");
    if (!out) throw OperatorError("无法创建文件 \"" + path + "\"：" + std::strerror(errno));
    Compressor c;
    std::vector<uint8_t> line(static_cast<size_t>(bitmap.width()) * 3);
    c.cinfo.err = jpeg_std_error(&c.err.pub);
    c.err.pub.error_exit = onFatalError;
    if (setjmp(c.err.jump)) throw JpegError(c.err.message);
    jpeg_create_compress(&c.cinfo);
    c.created = true;
    jpeg_stdio_dest(&c.cinfo, out.get());
    compressRows(c, bitmap, options, line);
}

std::string encodeJpeg(const Bitmap& bitmap, const JpegWriteOptions& options) {
    MemoryDestination destination;
    {
        Compressor c;
        std::vector<uint8_t> line(static_cast<size_t>(bitmap.width()) * 3);
        c.cinfo.err = jpeg_std_error(&c.err.pub);
        c.err.pub.error_exit = onFatalError;
        if (setjmp(c.err.jump)) throw JpegError(c.err.message);
        jpeg_create_compress(&c.cinfo);
        c.created = true;
        jpeg_mem_dest(&c.cinfo, &destination.bytes, &destination.size);
        compressRows(c, bitmap, options, line);
    }
    return std::string(reinterpret_cast<const char*>(destination.bytes), destination.size);
}

}  // namespace photocheck
