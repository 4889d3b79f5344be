#pragma once
#include <memory>
#include <string>
#include <vector>

#include "batch/JudgePhoto.h"
#include "check/Measurement.h"
#include "imaging/Bitmap.h"

namespace photocheck {

// The colours of the marks: passed, failed, and places the stages only looked at.
inline constexpr Colour PassedColour = makeColour(40, 230, 70);
inline constexpr Colour FailedColour = makeColour(255, 48, 48);
inline constexpr Colour LookedAtColour = makeColour(255, 210, 0);
inline constexpr Colour LabelBackground = makeColour(0, 0, 0);
Colour colourOf(Judged judged);

// How an overlay is drawn. A half-size overlay (a thumbnail) shows the picture at half its size with
// the marks in the same places and the labels at full size.
struct OverlayStyle {
    bool halfSize = false;
    bool allLabels = true;    // otherwise only the labels of failed measurements
    bool withCaption = true;  // the caption strip below the picture
};

// The text of the caption strip: the verdict and what failed the photo, in ASCII.
struct Caption {
    bool passed = false;
    std::string headline;  // "PASSED", or "FAILED: " + the name of the measurement that failed it
    std::string detail;    // the label of that measurement, e.g. "blue 79<90"
    std::string file;      // the photo's file name
};
Caption captionOf(const JudgedPhoto& photo);

// The picture with every measurement that has a place drawn on it in its verdict's colour, with its
// label in a black box beside it (labels are placed clear of the marks and of each other where they
// can be). The caption strip follows below the picture: the verdict, the deciding label and file
// name, the measurements without a place, and the colours' legend. The picture's own pixels are
// kept wherever nothing is drawn.
Bitmap drawOverlay(const Bitmap& picture, const std::vector<Measurement>& measurements,
                   const Caption& caption, const OverlayStyle& style = {});

// The picture a judged photo's overlay is drawn on: the one the stages measured; for a photo that
// failed the file check, its file decoded again when it is a JPEG of at most 16 million pixels; else
// a gray 390 x 567 placeholder that says "no picture".
std::shared_ptr<const Bitmap> pictureOf(const JudgedPhoto& photo);

// The overlay of a judged photo at full size with its caption.
Bitmap overlayOf(const JudgedPhoto& photo);

}  // namespace photocheck
