#pragma once
#include <stdexcept>
#include <string>

#include "imaging/Bitmap.h"

namespace photocheck {

// A file that is not a bitmap this reader knows; the message is "Bitmap image is not valid".
class BmpError : public std::runtime_error {
  public:
    BmpError() : std::runtime_error("Bitmap image is not valid") {}
};

// Reads a Windows bitmap file (.bmp) into a 24-bit bitmap: uncompressed, 1, 4, 8, 24 or 32 bits per
// pixel, rows stored bottom-up or top-down, with the info header of any version or the old core
// header. Throws BmpError for anything else, and FileSystemError when the file cannot be opened or is
// no regular file (a pipe is refused without waiting for a writer).
Bitmap decodeBmp(const std::string& path);

}  // namespace photocheck
