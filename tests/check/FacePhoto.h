#pragma once
// A drawn 390 x 567 face for the face feature tests: flat gray areas and sharp dark blocks, so the
// measures can be worked out from the drawing by hand (and survive a JPEG round trip).
#include "check/FileCheck.h"
#include "imaging/Bitmap.h"
#include "tests/support/TestSupport.h"

namespace photocheck::test {

inline constexpr Colour Backdrop = makeColour(200, 200, 200);    // light: neither dark nor black
inline constexpr Colour EyeDark = makeColour(20, 20, 20);        // dark at every threshold
inline constexpr Colour Catchlight = makeColour(255, 255, 255);  // the light spot of a pupil
inline constexpr Colour Clothing = makeColour(40, 40, 40);

// The eyes of the standard face: rows 216 to 231, left eye columns 136 to 175, right eye 216 to 255.
inline constexpr int EyeTop = 216;
inline constexpr int EyeBottom = 231;
inline constexpr int LeftEyeFrom = 136;
inline constexpr int LeftEyeTo = 175;
inline constexpr int RightEyeFrom = 216;
inline constexpr int RightEyeTo = 255;
// Catchlights are 4 x 4 pixels, rows 220 to 223, starting at these columns.
inline constexpr int CatchlightTop = 220;
inline constexpr int CatchlightBottom = 223;
inline constexpr int LeftCatchlight = 150;
inline constexpr int RightCatchlight1 = 225;
inline constexpr int RightCatchlight2 = 240;

inline Bitmap blankPhoto(Colour c = Backdrop) {
    return Bitmap(PhotoWidth, PhotoHeight, c);
}

inline void paintCatchlight(Bitmap& b, int x) {
    fillRect(b, x, CatchlightTop, x + 3, CatchlightBottom, Catchlight);
}

// Background, clothing below row 480, a narrow 8-row mouth below the eyes, and two eyes with one
// catchlight in the left eye and two in the right one.
inline Bitmap standardFace() {
    Bitmap b = blankPhoto();
    fillRect(b, 0, 480, PhotoWidth - 1, PhotoHeight - 1, Clothing);
    fillRect(b, 176, 264, 215, 271, EyeDark);
    fillRect(b, LeftEyeFrom, EyeTop, LeftEyeTo, EyeBottom, EyeDark);
    fillRect(b, RightEyeFrom, EyeTop, RightEyeTo, EyeBottom, EyeDark);
    paintCatchlight(b, LeftCatchlight);
    paintCatchlight(b, RightCatchlight1);
    paintCatchlight(b, RightCatchlight2);
    return b;
}

}  // namespace photocheck::test
