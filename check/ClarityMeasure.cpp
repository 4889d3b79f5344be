#include "check/ClarityMeasure.h"

#include <algorithm>
#include <vector>

#include "imaging/Extended.h"

namespace photocheck {
namespace {

constexpr int32_t CapMargin = 200;

// The levels of a region with the column past its right end and the row past its bottom, row by row.
class RegionLevels {
  public:
    RegionLevels(const GrayPlane& gray, const ClarityRegion& region)
        : width_(region.X2 - region.X1 + 2), height_(region.Y2 - region.Y1 + 2) {
        levels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
        for (int r = 0; r < height_; ++r) gray.rowLevels(region.Y1 + r, region.X1, region.X2 + 1, row(r));
    }
    int width() const { return width_; }
    int height() const { return height_; }
    uint8_t* row(int r) { return levels_.data() + static_cast<size_t>(r) * static_cast<size_t>(width_); }
    uint8_t at(int c, int r) const {
        return levels_[static_cast<size_t>(r) * static_cast<size_t>(width_) + c];
    }

  private:
    int width_;
    int height_;
    std::vector<uint8_t> levels_;
};

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
    RegionLevels levels(gray, region);
    ClarityCount count;
    // Each line is scanned up to its last level, with the level past it there to be read.
    for (int r = 0; r + 1 < levels.height(); ++r) RunWeightScan(levels.row(r), 0, levels.width() - 2, count);
    std::vector<uint8_t> column(static_cast<size_t>(levels.height()));
    for (int c = 0; c + 1 < levels.width(); ++c) {
        for (int r = 0; r < levels.height(); ++r) column[static_cast<size_t>(r)] = levels.at(c, r);
        RunWeightScan(column.data(), 0, levels.height() - 2, count);
    }
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
