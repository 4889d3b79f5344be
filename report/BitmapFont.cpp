#include "report/BitmapFont.h"

#include <array>
#include <cstdint>

namespace photocheck {
namespace {

// Each glyph as its rows from the top, separated by "|"; "#" is a set pixel. Rows left out at the end
// are blank. Rows 0 to 6 stand above the baseline, rows 7 and 8 below it.
struct GlyphArt {
    char c;
    const char* rows;
};

// clang-format off
constexpr GlyphArt Art[] = {
    {' ', ""},
    {'!', "  #  |  #  |  #  |  #  |  #  |     |  #  "},
    {'"', " # # | # # "},
    {'#', "     | # # |#####| # # |#####| # # "},
    {'$', "  #  | ####|# #  | ### |  # #|#### |  #  "},
    {'%', "##   |##  #|   # |  #  | #   |#  ##|   ##"},
    {'&', " ##  |#  # |# #  | #   |# # #|#  # | ## #"},
    {'\'', "  #  |  #  "},
    {'(', "   # |  #  | #   | #   | #   |  #  |   # "},
    {')', " #   |  #  |   # |   # |   # |  #  | #   "},
    {'*', "     |  #  |# # #| ### |# # #|  #  "},
    {'+', "     |  #  |  #  |#####|  #  |  #  "},
    {',', "     |     |     |     |     | ##  |  #  | #   "},
    {'-', "     |     |     |#####"},
    {'.', "     |     |     |     |     | ##  | ##  "},
    {'/', "    #|   # |   # |  #  | #   | #   |#    "},
    {'0', " ### |#   #|#  ##|# # #|##  #|#   #| ### "},
    {'1', "  #  | ##  |  #  |  #  |  #  |  #  | ### "},
    {'2', " ### |#   #|    #|   # |  #  | #   |#####"},
    {'3', "#####|   # |  #  |   # |    #|#   #| ### "},
    {'4', "   # |  ## | # # |#  # |#####|   # |   # "},
    {'5', "#####|#    |#### |    #|    #|#   #| ### "},
    {'6', "  ## | #   |#    |#### |#   #|#   #| ### "},
    {'7', "#####|    #|   # |  #  | #   | #   | #   "},
    {'8', " ### |#   #|#   #| ### |#   #|#   #| ### "},
    {'9', " ### |#   #|#   #| ####|    #|   # | ##  "},
    {':', "     | ##  | ##  |     | ##  | ##  "},
    {';', "     | ##  | ##  |     | ##  |  #  | #   "},
    {'<', "   # |  #  | #   |#    | #   |  #  |   # "},
    {'=', "     |     |#####|     |#####"},
    {'>', " #   |  #  |   # |    #|   # |  #  | #   "},
    {'?', " ### |#   #|    #|   # |  #  |     |  #  "},
    {'@', " ### |#   #|    #| ## #|# # #|# # #| ### "},
    {'A', " ### |#   #|#   #|#####|#   #|#   #|#   #"},
    {'B', "#### |#   #|#   #|#### |#   #|#   #|#### "},
    {'C', " ### |#   #|#    |#    |#    |#   #| ### "},
    {'D', "###  |#  # |#   #|#   #|#   #|#  # |###  "},
    {'E', "#####|#    |#    |#### |#    |#    |#####"},
    {'F', "#####|#    |#    |#### |#    |#    |#    "},
    {'G', " ### |#   #|#    |# ###|#   #|#   #| ####"},
    {'H', "#   #|#   #|#   #|#####|#   #|#   #|#   #"},
    {'I', " ### |  #  |  #  |  #  |  #  |  #  | ### "},
    {'J', "  ###|   # |   # |   # |   # |#  # | ##  "},
    {'K', "#   #|#  # |# #  |##   |# #  |#  # |#   #"},
    {'L', "#    |#    |#    |#    |#    |#    |#####"},
    {'M', "#   #|## ##|# # #|# # #|#   #|#   #|#   #"},
    {'N', "#   #|#   #|##  #|# # #|#  ##|#   #|#   #"},
    {'O', " ### |#   #|#   #|#   #|#   #|#   #| ### "},
    {'P', "#### |#   #|#   #|#### |#    |#    |#    "},
    {'Q', " ### |#   #|#   #|#   #|# # #|#  # | ## #"},
    {'R', "#### |#   #|#   #|#### |# #  |#  # |#   #"},
    {'S', " ####|#    |#    | ### |    #|    #|#### "},
    {'T', "#####|  #  |  #  |  #  |  #  |  #  |  #  "},
    {'U', "#   #|#   #|#   #|#   #|#   #|#   #| ### "},
    {'V', "#   #|#   #|#   #|#   #|#   #| # # |  #  "},
    {'W', "#   #|#   #|#   #|# # #|# # #|# # #| # # "},
    {'X', "#   #|#   #| # # |  #  | # # |#   #|#   #"},
    {'Y', "#   #|#   #| # # |  #  |  #  |  #  |  #  "},
    {'Z', "#####|    #|   # |  #  | #   |#    |#####"},
    {'[', " ### | #   | #   | #   | #   | #   | ### "},
    {'\\', "#    | #   | #   |  #  |   # |   # |    #"},
    {']', " ### |   # |   # |   # |   # |   # | ### "},
    {'^', "  #  | # # |#   #"},
    {'_', "     |     |     |     |     |     |     |#####"},
    {'`', " #   |  #  "},
    {'a', "     |     | ### |    #| ####|#   #| ####"},
    {'b', "#    |#    |# ## |##  #|#   #|#   #|#### "},
    {'c', "     |     | ### |#    |#    |#   #| ### "},
    {'d', "    #|    #| ## #|#  ##|#   #|#   #| ####"},
    {'e', "     |     | ### |#   #|#####|#    | ### "},
    {'f', "  ## | #  #| #   |###  | #   | #   | #   "},
    {'g', "     |     | ####|#   #|#   #|#   #| ####|    #| ### "},
    {'h', "#    |#    |# ## |##  #|#   #|#   #|#   #"},
    {'i', "  #  |     | ##  |  #  |  #  |  #  | ### "},
    {'j', "   # |     |  ## |   # |   # |   # |   # |#  # | ##  "},
    {'k', "#    |#    |#  # |# #  |##   |# #  |#  # "},
    {'l', " ##  |  #  |  #  |  #  |  #  |  #  | ### "},
    {'m', "     |     |## # |# # #|# # #|# # #|# # #"},
    {'n', "     |     |# ## |##  #|#   #|#   #|#   #"},
    {'o', "     |     | ### |#   #|#   #|#   #| ### "},
    {'p', "     |     |#### |#   #|#   #|#   #|#### |#    |#    "},
    {'q', "     |     | ####|#   #|#   #|#   #| ####|    #|    #"},
    {'r', "     |     |# ## |##  #|#    |#    |#    "},
    {'s', "     |     | ####|#    | ### |    #|#### "},
    {'t', " #   | #   |###  | #   | #   | #  #|  ## "},
    {'u', "     |     |#   #|#   #|#   #|#  ##| ## #"},
    {'v', "     |     |#   #|#   #|#   #| # # |  #  "},
    {'w', "     |     |#   #|#   #|# # #|# # #| # # "},
    {'x', "     |     |#   #| # # |  #  | # # |#   #"},
    {'y', "     |     |#   #|#   #|#   #|#   #| ####|    #| ### "},
    {'z', "     |     |#####|   # |  #  | #   |#####"},
    {'{', "   ##|  #  |  #  | #   |  #  |  #  |   ##"},
    {'|', "  #  |  #  |  #  |  #  |  #  |  #  |  #  "},
    {'}', "##   |  #  |  #  |   # |  #  |  #  |##   "},
    {'~', "     |     | #   |# # #|   # "},
};
// clang-format on

constexpr char FirstChar = ' ';
constexpr char LastChar = '~';
constexpr int GlyphCount = LastChar - FirstChar + 1;
static_assert(sizeof(Art) / sizeof(Art[0]) == GlyphCount, "one glyph for every printable ASCII character");

// A glyph as one bit mask per row, bit 4 the leftmost column.
using Glyph = std::array<uint8_t, font::GlyphHeight>;

Glyph parse(const char* rows) {
    Glyph glyph{};
    int row = 0;
    int column = 0;
    for (const char* p = rows; *p && row < font::GlyphHeight; ++p) {
        if (*p == '|') {
            ++row;
            column = 0;
            continue;
        }
        if (*p == '#' && column < font::GlyphWidth)
            glyph[static_cast<size_t>(row)] |= static_cast<uint8_t>(1u << (font::GlyphWidth - 1 - column));
        ++column;
    }
    return glyph;
}

const std::array<Glyph, GlyphCount>& glyphs() {
    static const std::array<Glyph, GlyphCount> table = [] {
        std::array<Glyph, GlyphCount> t{};
        for (const GlyphArt& art : Art) t[static_cast<size_t>(art.c - FirstChar)] = parse(art.rows);
        return t;
    }();
    return table;
}

const Glyph& glyphOf(char c) {
    if (c < FirstChar || c > LastChar) c = '?';
    return glyphs()[static_cast<size_t>(c - FirstChar)];
}

void drawGlyph(Bitmap& bitmap, int x, int y, const Glyph& glyph, Colour colour, int scale) {
    for (int row = 0; row < font::GlyphHeight; ++row)
        for (int column = 0; column < font::GlyphWidth; ++column) {
            if (!(glyph[static_cast<size_t>(row)] & (1u << (font::GlyphWidth - 1 - column)))) continue;
            for (int dy = 0; dy < scale; ++dy)
                for (int dx = 0; dx < scale; ++dx)
                    bitmap.setPixel(x + column * scale + dx, y + row * scale + dy, colour);
        }
}

}  // namespace

std::string asciiOnly(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out += byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '?';
            continue;
        }
        out += '?';
        // The continuation bytes of the same character.
        while (i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) ++i;
    }
    return out;
}

int textWidth(const std::string& text, int scale) {
    const int n = static_cast<int>(asciiOnly(text).size());
    return n == 0 ? 0 : (n * font::Advance - 1) * scale;
}

void drawText(Bitmap& bitmap, int x, int y, const std::string& text, Colour colour, int scale) {
    for (const char c : asciiOnly(text)) {
        drawGlyph(bitmap, x, y, glyphOf(c), colour, scale);
        x += font::Advance * scale;
    }
}

}  // namespace photocheck
