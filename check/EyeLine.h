#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "check/CheckContext.h"
#include "check/FaceMeasures.h"
#include "check/GrayMap.h"

namespace photocheck {

inline constexpr int StartMidPix = 80;         // the gray threshold before it is adapted to the eye band
inline constexpr int32_t TallestEyeRun = 35;   // a dark run of more rows means glasses or a tilted head
inline constexpr int32_t ShortestEyeLine = 8;  // shorter runs are passed over
inline constexpr int32_t NarrowestEyeLine = 70;

// The window the row projection counts in: 140 columns either side of the middle, the 121 rows
// above and including the middle row.
Window centralWindow(int width, int height);

// Entry k counts the pixels darker than MidPix in row Y2 - k, columns X1 to X2 - 1.
std::vector<uint8_t> rowProfile(const GrayMap& gray, const Window& window, int MidPix);

// The walk up the row profile for the eye line. When no run is wide enough the search keeps what
// the last examined run left; a run taller than TallestEyeRun ends the search at once.
struct EyeRun {
    enum class Outcome { Accepted, NoneAccepted, TooTall };
    Outcome outcome = Outcome::NoneAccepted;
    int32_t EyeHeight = 0;
    int32_t EyeBandTop = 0;
    int32_t EyeBandBottom = 0;
};
EyeRun findEyeRun(const std::vector<uint8_t>& RowProfile, const Window& window, const GrayMap& gray,
                  int MidPix);

// The middle row of the band, halved in extended precision and rounded half up.
int32_t eyeCentreY(int32_t EyeBandTop, int32_t EyeBandBottom);

// The central window widened by 10 columns on each side, over the rows of the run.
Window eyeBand(const Window& central, int32_t EyeBandTop, int32_t EyeBandBottom);

// Finds the eye line of the photo and writes its debug lines. A run too tall for an eye line fails
// the photo (the reason is appended) and gives no value.
std::optional<EyeLine> findEyeLine(CheckContext& ctx, const GrayMap& gray);

}  // namespace photocheck
