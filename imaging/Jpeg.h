#pragma once
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "imaging/Bitmap.h"

namespace photocheck {

// A file the JPEG library cannot read; the message is the library's own.
class JpegError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads one JPEG file: the header when constructed, the pixels on request. The decoder runs with the
// library's defaults (full size, RGB, accurate integer inverse DCT, fancy upsampling); a grayscale
// file comes out with red = green = blue.
class JpegReader {
  public:
    // Throws JpegError, or FileSystemError when the file cannot be opened or is no regular file (a
    // pipe is refused without waiting for a writer).
    explicit JpegReader(const std::string& path);
    ~JpegReader();
    JpegReader(const JpegReader&) = delete;
    JpegReader& operator=(const JpegReader&) = delete;

    int width() const;
    int height() const;
    int64_t fileSize() const;  // bytes, taken from the open file

    Bitmap decode();  // once per reader

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Decodes a whole file.
Bitmap decodeJpeg(const std::string& path);

struct JpegWriteOptions {
    int quality = 92;
    bool progressive = false;
    bool grayscale = false;
    bool arithmetic = false;
};
// Writes a bitmap as a JPEG file (sample photos and tests).
void writeJpeg(const Bitmap& bitmap, const std::string& path, const JpegWriteOptions& options = {});
// The same JPEG file as bytes in memory (the thumbnails of a run report).
std::string encodeJpeg(const Bitmap& bitmap, const JpegWriteOptions& options = {});

}  // namespace photocheck
