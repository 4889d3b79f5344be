#pragma once
#include <cstdio>
#include <stdexcept>
#include <string>

#include "imaging/Bitmap.h"
#include "platform/OperatorError.h"

namespace photocheck {

// A PNG file that could not be written; the message, in Chinese, names the file and the cause.
class PngError : public OperatorError {
  public:
    using OperatorError::OperatorError;
};

// Writes the bitmap as an 8-bit RGB PNG file through libpng, replacing the file.
void writePng(const Bitmap& bitmap, const std::string& path);
// The same into a file open for writing, which is closed afterwards; `path` names it in the error.
void writePng(const Bitmap& bitmap, std::FILE* opened, const std::string& path);

}  // namespace photocheck
