#pragma once
#include "imaging/Bitmap.h"

namespace photocheck {

// Plain drawing on a bitmap, 1 pixel wide; corners are included and may lie outside the bitmap,
// whose pixels are then left out.
void drawRow(Bitmap& b, int y, int x1, int x2, Colour c);
void drawColumn(Bitmap& b, int x, int y1, int y2, Colour c);
void drawRectangle(Bitmap& b, int x1, int y1, int x2, int y2, Colour c);  // the outline
void fillRectangle(Bitmap& b, int x1, int y1, int x2, int y2, Colour c);
void drawCross(Bitmap& b, int x, int y, int arm, Colour c);  // a plus sign with arms of arm pixels

// The picture at half its size: each pixel the mean of a block of 2 x 2 (an odd last row or column
// is left out). A picture of one row or column stays as it is.
Bitmap halved(const Bitmap& picture);

// A copy of the picture inside a larger one, at its top left corner; the rest in the fill colour.
Bitmap extended(const Bitmap& picture, int width, int height, Colour fill);

}  // namespace photocheck
