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

// The marks and labels of an overlay as they are drawn, in picture coordinates (x to the right, y
// down, corners included; they may reach past the picture's edge, whose pixels are then left out).
struct OverlayStroke {
    enum class Shape {
        Row,      // row y1 from column x1 to x2 (y2 == y1)
        Column,   // column x1 from row y1 to y2 (x2 == x1)
        Outline,  // the outline of the rectangle x1, y1 to x2, y2
    };
    Shape shape = Shape::Row;
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    Colour colour = PassedColour;
};
// A label: its box, filled with LabelBackground, and its text in the overlay's font and colour.
struct OverlayLabel {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    std::string text;
    Colour colour = PassedColour;
};
struct OverlayLayout {
    std::vector<OverlayStroke> strokes;  // drawn first, in this order
    std::vector<OverlayLabel> labels;    // drawn over the strokes, in this order
};

// Where the marks of the measurements that have a place go on a picture of width x height (the size
// of the picture as drawn: half the photo's for a half-size overlay), and their labels, placed clear
// of the marks and of each other where they can be, inside the picture.
OverlayLayout layOutOverlay(const std::vector<Measurement>& measurements, int width, int height,
                            const OverlayStyle& style = {});

// A label as the overlay draws it: its box with the text, for drawing it elsewhere.
Bitmap labelPicture(const OverlayLabel& label);

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
