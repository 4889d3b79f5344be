#pragma once
#include "check/CheckContext.h"

namespace photocheck {

// Stage 3: eye line, head height, uprightness, clothing and pupils, measured on copies of orgImage.
// Leaves the binarised photo in MyImage.
bool FaceFeatureCheck(CheckContext& ctx);

}  // namespace photocheck
