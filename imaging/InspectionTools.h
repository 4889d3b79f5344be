#pragma once
#include <string>

#include "imaging/Bitmap.h"

namespace photocheck {

// The operator's tools for tuning, as the window shows them: the pixel readout, the magnifier, the
// distance between two points, and the grayscale and threshold views of a picture. Each works on
// pixel coordinates of the picture under the pointer.

// What the readout shows for the pointer at (x, y) of a source picture, and where the two floating
// labels go on the photo area.
struct PixelReadout {
    std::string rgbText;  // "x=120,R=98,G=150,B=231"
    std::string hsvText;  // "y=40,H=217,S=147,V=231"; H=0 for a pixel whose saturation is 0
    int labelLeft = 0;    // x, or x - 180 from x = 170 on, so the labels stay on the photo
    int rgbLabelTop = 0;  // y + 25
    int hsvLabelTop = 0;  // y + 41
};

// A pixel outside the source reads as the invalid colour does: R, G and B all 255.
PixelReadout readPixel(const Bitmap& source, int x, int y);

inline constexpr int MagnifierSize = 105;  // the magnifier's width and height in pixels
inline constexpr int MagnifierCrossHair = 53;

// The 21 x 21 pixels around (x, y) of the source, each as a block of 5 x 5 in `into`, with pure red
// along row 53 and column 53 of it; neighbours outside the source are white. `into` is the
// magnifier's picture of MagnifierSize x MagnifierSize.
void paintMagnifier(const Bitmap& source, int x, int y, Bitmap& into);

// "垂直方向长度=" + |dy| + "    水平方向长度=" + |dx| between a press and a release.
std::string distanceText(int pressX, int pressY, int releaseX, int releaseY);

// The picture with every pixel set to its GrayLevel in red, green and blue.
Bitmap grayscaleView(const Bitmap& picture);

// The picture in black and white: white where the GrayLevel is greater than the threshold, black
// where it is not (a level equal to the threshold is black).
Bitmap thresholdView(const Bitmap& picture, int threshold);

}  // namespace photocheck
