#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "check/CheckContext.h"
#include "check/FaceMeasures.h"
#include "check/GrayMap.h"

namespace photocheck {

// Pixels darker than MidPix in the window, both ends of both ranges included.
int32_t darkPixelsIn(const GrayMap& gray, const Window& window, int MidPix);

// The threshold adapted to how much of the eye band is dark (blackCnt counted at the start threshold).
int adaptedMidPix(int32_t blackCnt);

// A copy of the whole photo in black and white: white where the gray level is above MidPix, black
// otherwise.
Bitmap binarise(const Bitmap& photo, int MidPix);

// Entry x - X1 counts the pixels of column x, rows Y1 to Y2, that the binarisation at MidPix makes
// black (a gray level not above MidPix); columns outside the photo count none.
std::vector<uint8_t> columnProfile(const GrayMap& gray, const Window& band, int MidPix);

// The inner edges of the two eyes: the middle of the first highest plateau of the left half, and of
// the last highest plateau of the right half. The middle entry belongs to neither half; a half with
// no dark column gives 0.
int32_t leftEyeRightEdge(const std::vector<uint8_t>& ColumnProfile, int32_t X1);
int32_t rightEyeLeftEdge(const std::vector<uint8_t>& ColumnProfile, int32_t X1);

// Three and a half eye distances, rounded half up.
int32_t headHeightOf(int32_t EyeDistance);
// HeadHeight in percent of the photo height, rounded half up.
int32_t headPercentOf(int32_t HeadHeight);
// How close the eye centre lies to the photo's middle column, in percent, rounded half up.
int32_t regularPercentOf(int32_t EyeCentreX);

// Binarises the photo of orgImage into MyImage (made when MyImage is first read), measures head height
// and uprightness and appends them. A check that fails appends its reason and gives no value.
std::optional<FaceMeasures> measureHeadAndUprightness(CheckContext& ctx, const GrayMap& gray,
                                                      const EyeLine& eyes);

}  // namespace photocheck
