#include "check/ClarityMeasure.h"

#include <algorithm>
#include <vector>

#include "imaging/Extended.h"

namespace photocheck {
namespace {

constexpr int32_t CapMargin = 200;

// The levels of one line followed by the level just past its end.
using LineLevels = std::vector<uint8_t>;

LineLevels rowLine(const GrayPlane& gray, int y, int x1, int x2) {
    LineLevels line;
    line.reserve(static_cast<size_t>(x2 - x1 + 2));
    for (int x = x1; x <= x2 + 1; ++x) line.push_back(gray.level(x, y));
    return line;
}

LineLevels columnLine(const GrayPlane& gray, int x, int y1, int y2) {
    LineLevels line;
    line.reserve(static_cast<size_t>(y2 - y1 + 2));
    for (int y = y1; y <= y2 + 1; ++y) line.push_back(gray.level(x, y));
    return line;
}

void scanLine(const LineLevels& line, ClarityCount& count) {
    RunWeightScan(line.data(), 0, static_cast<int>(line.size()) - 2, count);
}

}  // namespace

void RunWeightScan(const uint8_t* p, int s, int e, ClarityCount& count) {
    count.total += 2;
    uint8_t a = p[s];
    uint8_t b = p[s + 1];
    int i = s + 2;
    while (i <= e) {
        uint8_t c = p[i];
        int32_t run = 1;
        if (a == c && b == c) {
            do {
                ++i;
                ++count.total;
                b = c;
                c = p[i];
                if (c == b) {
                    run += run == 3 ? 2 : 1;
                    count.same += run;
                }
            } while (c == b && i < e);
        }
        a = b;
        b = c;
        ++i;
        ++count.total;
    }
}

ClarityCount scanRegion(const GrayPlane& gray, const ClarityRegion& region) {
    ClarityCount count;
    for (int y = region.Y1; y <= region.Y2; ++y) scanLine(rowLine(gray, y, region.X1, region.X2), count);
    for (int x = region.X1; x <= region.X2; ++x) scanLine(columnLine(gray, x, region.Y1, region.Y2), count);
    return count;
}

ClarityCount measureRegion(const GrayPlane& gray, const ClarityRegion& region) {
    ClarityCount count = scanRegion(gray, region);
    count.same = std::min(count.same, count.total - CapMargin);
    return count;
}

int32_t clarityPercent(const ClarityCount& count) {
    return 100 - ratioPercent(count.same, count.total);
}

}  // namespace photocheck
