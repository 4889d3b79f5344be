#pragma once
#include <cstdint>

#include "check/ClarityGrayPlane.h"

namespace photocheck {

// Equal neighbouring gray levels found in a region (same) and the levels looked at (total).
struct ClarityCount {
    int32_t same = 0;
    int32_t total = 0;
};

// Adds the weighted runs of equal levels along p[s], ..., p[e]: after three equal levels each further
// one adds 2, 3, 5, 6, 7, 8, ... A run whose third level is p[e] also reads p[e + 1], which must exist.
void RunWeightScan(const uint8_t* p, int s, int e, ClarityCount& count);

// A rectangle with inclusive corners.
struct ClarityRegion {
    int X1 = 0;
    int X2 = 0;
    int Y1 = 0;
    int Y2 = 0;
};

// RunWeightScan along every row of the region, then down every column, without the cap.
ClarityCount scanRegion(const GrayPlane& gray, const ClarityRegion& region);

// The region's SameCount: its scan with same capped at total - 200.
ClarityCount measureRegion(const GrayPlane& gray, const ClarityRegion& region);

// 100 - (same / total) x 100 rounded half up.
int32_t clarityPercent(const ClarityCount& count);

}  // namespace photocheck
