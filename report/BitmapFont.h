#pragma once
#include <string>

#include "imaging/Bitmap.h"

namespace photocheck {

// A small bitmap font of our own for the labels of the overlay: the printable ASCII characters in
// cells of 5 x 9 pixels (7 above the baseline, 2 below it), one blank column between characters.
// Other bytes are drawn as "?", one per UTF-8 character.
namespace font {
inline constexpr int GlyphWidth = 5;
inline constexpr int GlyphHeight = 9;
inline constexpr int Advance = GlyphWidth + 1;
}  // namespace font

// The width and height in pixels that drawText takes for the text at the scale.
int textWidth(const std::string& text, int scale = 1);
inline int textHeight(int scale = 1) {
    return font::GlyphHeight * scale;
}

// Draws the text's set pixels in the colour with the cell's top left corner at (x, y); each font
// pixel becomes scale x scale pixels. Pixels outside the bitmap are left out.
void drawText(Bitmap& bitmap, int x, int y, const std::string& text, Colour colour, int scale = 1);

// The text with every non-ASCII UTF-8 character replaced by one "?", as drawText shows it.
std::string asciiOnly(const std::string& text);

}  // namespace photocheck
