#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "check/CheckContext.h"
#include "check/FaceMeasures.h"
#include "imaging/ColourModel.h"

namespace photocheck {

inline constexpr int32_t CornerTop = 520;  // the lower right corner where a low neckline shows skin
inline constexpr int32_t CornerLeft = 370;
inline constexpr int32_t HighestSkinPercent = 80;

// The colour just below the eyes' centre, taken as the person's skin colour. A gray pixel leaves the
// hue at 0.
Hsv skinReference(const Bitmap& photo, int32_t x, int32_t y);

// Pixels of the corner region and how many of them have the skin colour. The hue of a gray pixel is
// the one carried over from the latest earlier pixel that had one.
struct SkinCount {
    int32_t count = 0;
    int32_t total = 0;
};
SkinCount countSkinInCorner(const Bitmap& photo, const Hsv& reference);

// The skin count in percent of the region, cut without rounding (0 for an empty region).
int32_t skinPercentOf(const SkinCount& skin);

// One eye's block of dark columns in the column profile: its peak, and the column where its pupil
// scan ends.
struct EyeBlock {
    int32_t eyesVMax = 0;
    int32_t eyesVMaxX = 0;
    int32_t endColumn = 0;
};
// Walks right from the first dark column; the block ends before a gap of four empty columns. No
// block leaves the end column at 0.
EyeBlock leftEyeBlock(const std::vector<uint8_t>& ColumnProfile, int32_t X1);
// Walks left from the last dark column of the right half, which is where its scan ends. Without one
// the end column stays the one the left eye left.
EyeBlock rightEyeBlock(const std::vector<uint8_t>& ColumnProfile, int32_t X1, int32_t leftEndColumn);

// The pixel tests of the pupil scan, on green and blue.
bool passesDarkTest(Colour c);
bool passesBrightTest(Colour c);
bool lightEnoughToGoOn(Colour c);

// Counts pupil marks (a catchlight above the dark of the eye) in columns a to b of the eye band, two
// at most, and builds the scan's debug line. Columns outside the photo read as white.
struct PupilMarkAt {
    int32_t x = 0;
    int32_t y = 0;
};
struct PupilCount {
    int32_t count = 0;
    std::string line;
    std::array<PupilMarkAt, 2> marks;  // the first count of them are the counted marks
};
PupilCount PupilScan(const Bitmap& photo, int32_t a, int32_t b, const Window& band,
                     const std::string& lineStart);

// The clothing check, then the pupils of both eyes and the verdict; appends the columns and reasons.
bool checkClothingAndPupils(CheckContext& ctx, const Bitmap& photo, const FaceMeasures& face);

}  // namespace photocheck
