#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace photocheck {

// A rectangle of the photo the projections work on: columns X1 to X2, rows Y1 to Y2.
struct Window {
    int32_t X1 = 0;
    int32_t X2 = 0;
    int32_t Y1 = 0;
    int32_t Y2 = 0;
};

// The eye line found by the row projection.
struct EyeLine {
    int32_t EyeHeight = 0;
    int32_t EyeBandTop = 0;
    int32_t EyeBandBottom = 0;
    int32_t EyeCentreY = 0;
    Window band;  // the eye band the threshold, the column projection and the pupil scans work on
};

// What the head and uprightness measures hand on to the clothing and pupil checks.
struct FaceMeasures {
    Window band;
    std::vector<uint8_t> ColumnProfile;  // entry k belongs to column band.X1 + k
    int32_t EyeCentreX = 0;
    int32_t EyeCentreY = 0;
};

// The debug form of a window: label + " X1=.. X2=.. Y1=.. Y2=..".
std::string windowText(const std::string& label, const Window& w);
// The debug form of a profile: entry 0, then " ," + entry for every further entry.
std::string profileText(const std::vector<uint8_t>& profile);

}  // namespace photocheck
