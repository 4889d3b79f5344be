#include "check/ClarityMeasure.h"

#include <algorithm>
#include <vector>

#include "imaging/Extended.h"
#include "imaging/VectorClones.h"

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

namespace {

// What RunWeightScan adds to the total for a line p[s] to p[e] in which no level equals the two
// before it: the scan then never enters a run and adds nothing to same.
int32_t totalWithoutRuns(int s, int e) {
    return 2 + std::max(0, e - s - 1);
}

// Whether some level p[i], s + 2 <= i <= e, equals the two before it: only such a line has a run to
// weigh, and in a sharp photo most lines have none.
PHOTOCHECK_VECTOR_CLONES
bool hasRunOfThree(const uint8_t* __restrict p, int s, int e) {
    uint8_t found = 0;
    for (int i = s + 2; i <= e; ++i)
        found |= static_cast<uint8_t>((p[i] == p[i - 1]) & (p[i - 1] == p[i - 2]));
    return found != 0;
}

// Marks in runs[c] the columns c < n in which the levels of three rows one below the other are equal.
PHOTOCHECK_VECTOR_CLONES
void markRunsOfThree(const uint8_t* __restrict above, const uint8_t* __restrict middle,
                     const uint8_t* __restrict below, int n, uint8_t* __restrict runs) {
    for (int c = 0; c < n; ++c)
        runs[c] |= static_cast<uint8_t>((above[c] == middle[c]) & (middle[c] == below[c]));
}

void scanLine(const uint8_t* p, int s, int e, ClarityCount& count) {
    if (hasRunOfThree(p, s, e))
        RunWeightScan(p, s, e, count);
    else
        count.total += totalWithoutRuns(s, e);
}

}  // namespace

// Each line is scanned up to its last level, with the level past it there to be read. The columns are
// first looked through a row at a time for runs, and only those that have one are gathered and scanned.
ClarityCount scanRegion(const GrayPlane& gray, const ClarityRegion& region) {
    RegionLevels levels(gray, region);
    ClarityCount count;
    const int lastColumn = levels.width() - 2;
    const int lastRow = levels.height() - 2;
    for (int r = 0; r <= lastRow; ++r) scanLine(levels.row(r), 0, lastColumn, count);

    const int columns = std::max(lastColumn + 1, 0);
    std::vector<uint8_t> runs(static_cast<size_t>(columns), 0);
    for (int r = 2; r <= lastRow; ++r)
        markRunsOfThree(levels.row(r - 2), levels.row(r - 1), levels.row(r), columns, runs.data());
    std::vector<uint8_t> column(static_cast<size_t>(levels.height()));
    for (int c = 0; c < columns; ++c) {
        if (!runs[static_cast<size_t>(c)]) {
            count.total += totalWithoutRuns(0, lastRow);
            continue;
        }
        for (int r = 0; r < levels.height(); ++r) column[static_cast<size_t>(r)] = levels.at(c, r);
        RunWeightScan(column.data(), 0, lastRow, count);
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
