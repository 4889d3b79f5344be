#pragma once
#include <string>

#include "check/CheckContext.h"

namespace photocheck {

inline constexpr int PhotoWidth = 390;
inline constexpr int PhotoHeight = 567;

// Stage 1: format, pixel size and file size. On a pass the photo is loaded into orgImage, showImage
// and MyImage. Raises an error when the file cannot be opened or decoded.
bool FileCheck(CheckContext& ctx, const std::string& path);

}  // namespace photocheck
