#include "check/BackgroundAndClarityCheck.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "check/BluePixel.h"
#include "check/ClarityMeasure.h"
#include "imaging/ColourModel.h"
#include "imaging/Extended.h"
#include "imaging/VectorClones.h"

namespace photocheck {
namespace {

// The top band: the rows that show background above any head.
constexpr int BandFirstRow = 5;
constexpr int BandLastRow = 10;
constexpr int BackgroundGrayRow = 5;
// The ratios of the top band are taken of the 390 x 6 band, whatever the picture's size.
constexpr int32_t SideDivisor = 1560;
constexpr int32_t MiddleDivisor = 780;
constexpr int32_t BandDivisor = 2340;
constexpr int32_t HeadTooHighSideRatio = 60;

constexpr int HairMargin = 40;  // first hair row, and the columns left out at each side
constexpr int HairLevelDistance = 80;
constexpr int HairPixelsForRow = 80;
constexpr int HairTopToHeadUp = 5;
constexpr int RegionWidth = 80;
constexpr int HairRegionHeight = 40;

struct TopBandCounts {
    int32_t side = 0;
    int32_t middle = 0;
    int32_t blue = 0;
};

// How blue each pixel of a row is: Blue under both hue limits, WideBlue only under the wider one of
// the right-hand run of the side count.
enum Blueness : uint8_t { NotBlue, WideBlue, Blue };

// Blue under the narrower limit is blue under the wider one too, so the two tests add up to the Blueness.
PHOTOCHECK_VECTOR_CLONES
void rowBlueness(const uint8_t* __restrict bgr, int n, uint8_t* __restrict blueness) {
    for (int i = 0; i < n; ++i) {
        const int r = bgr[3 * i + 2], g = bgr[3 * i + 1], b = bgr[3 * i];
        blueness[i] =
            static_cast<uint8_t>(isBluePixel(r, g, b, WideBlueHueBelow) + isBluePixel(r, g, b, BlueHueBelow));
    }
}

PHOTOCHECK_VECTOR_CLONES
int32_t countBluePixels(const uint8_t* __restrict blueness, int from, int to, uint8_t atLeast) {
    int32_t count = 0;
    for (int x = from; x <= to; ++x) count += blueness[x] >= atLeast ? 1 : 0;
    return count;
}

// The columns that split the top band in thirds: the middle third runs from c1 to c2.
struct Thirds {
    int c1;
    int c2;
};

Thirds thirdsOf(int width) {
    return {(width - 1) / 3, (2 * width - 2) / 3};
}

// The side count visits the third-line column c1 in both of its runs.
TopBandCounts countTopBand(const Bitmap& picture) {
    const int w = picture.width();
    const auto [c1, c2] = thirdsOf(w);
    TopBandCounts counts;
    std::vector<uint8_t> blueness(static_cast<size_t>(w));
    const uint8_t* row = blueness.data();
    for (int y = BandFirstRow; y <= BandLastRow; ++y) {
        rowBlueness(picture.row(y), w, blueness.data());
        counts.side += countBluePixels(row, 0, c1, Blue);
        counts.side += countBluePixels(row, c1, w - 1, WideBlue);
        counts.middle += countBluePixels(row, c1, c2, Blue);
        counts.blue += countBluePixels(row, 0, w - 1, Blue);
    }
    return counts;
}

// The two ratios of the head-top test.
struct HeadTop {
    int32_t sideRatio;
    int32_t middleRatio;
};

HeadTop headTopOf(const TopBandCounts& counts) {
    return {ratioPercent(counts.side, SideDivisor), ratioPercent(counts.middle, MiddleDivisor)};
}

bool headTooHigh(const HeadTop& ratios, int32_t blueRatioThreshold) {
    return ratios.sideRatio >= HeadTooHighSideRatio && ratios.middleRatio < blueRatioThreshold;
}

Place topBand(int width) {
    return Place::rectangle(0, BandFirstRow, width - 1, BandLastRow);
}

void reportHeadTop(CheckContext& ctx, int width, const HeadTop& ratios, bool tooHigh) {
    const Thirds thirds = thirdsOf(width);
    ctx.measured([&] {
        return judgedMeasurement(MeasureKind::TopBandSides, topBand(width), ratios.sideRatio,
                                 HeadTooHighSideRatio, !tooHigh, "band side");
    });
    ctx.measured([&] {
        return judgedMeasurement(MeasureKind::TopBandMiddle,
                                 Place::rectangle(thirds.c1, BandFirstRow, thirds.c2, BandLastRow),
                                 ratios.middleRatio, ctx.params.ParamBlueRatio, !tooHigh, "band mid");
    });
}

int32_t backgroundGray(const GrayPlane& gray) {
    const uint8_t* levels = gray.span(BackgroundGrayRow, 0, gray.width() - 1);
    int64_t sum = 0;
    for (int x = 0; x < gray.width(); ++x) sum += levels[x];
    return halfUpTrunc(Extended(sum) / Extended(gray.width()));
}

bool farFrom(int level, int32_t background) {
    return std::abs(level - background) > HairLevelDistance;
}

// The levels of a row far from the background gray, as hair or a head stands out from it.
PHOTOCHECK_VECTOR_CLONES
int countFarFrom(const uint8_t* __restrict levels, int n, int32_t background) {
    int count = 0;
    for (int i = 0; i < n; ++i) count += farFrom(levels[i], background) ? 1 : 0;
    return count;
}

// The place of the fourth of them in a row that has four.
int fourthFarFrom(const uint8_t* levels, int32_t background) {
    for (int i = 0, seen = 0;; ++i)
        if (farFrom(levels[i], background) && ++seen == 4) return i;
}

struct HairSearch {
    ClarityRegion region;
    std::optional<int> topRow;
};

// The first row below the top margin with more than 80 pixels far from the background gray. The hair
// region starts at the fourth such pixel of the last row that had four.
HairSearch findHair(const GrayPlane& gray, int32_t background) {
    int x1 = 0;
    std::optional<int> topRow;
    const int lastX = gray.width() - HairMargin;
    for (int y = HairMargin; y <= gray.height() / 2 && !topRow; ++y) {
        if (lastX < HairMargin) continue;  // no column to walk; the row is not read
        const uint8_t* levels = gray.span(y, HairMargin, lastX);
        const int differing = countFarFrom(levels + HairMargin, lastX - HairMargin + 1, background);
        if (differing >= 4) x1 = HairMargin + fourthFarFrom(levels + HairMargin, background);
        if (differing > HairPixelsForRow) topRow = y;
    }
    const int y1 = topRow.value_or(0);
    return {{x1, x1 + RegionWidth, y1, y1 + HairRegionHeight}, topRow};
}

// The hair row as the search walked it.
Place hairRow(const GrayPlane& gray, int y) {
    return Place::row(y, HairMargin, gray.width() - HairMargin);
}

void reportRegion(CheckContext& ctx, const ClarityRegion& region, const ClarityCount& count,
                  const char* name) {
    ctx.measured([&] {
        return judgedMeasurement(MeasureKind::ClarityRegion,
                                 Place::rectangle(region.X1, region.Y1, region.X2, region.Y2), count.same,
                                 ctx.params.ParamClarity, count.same <= ctx.params.ParamClarity, name);
    });
}

void logRegion(CheckContext& ctx, const ClarityRegion& region, const ClarityCount& count) {
    if (!ctx.cbDebug) return;
    const std::string percent = std::to_string(clarityPercent(count));
    ctx.row.line += "  清晰度=" + percent + "%";
    ctx.debugLine(std::string(49, '='));
    ctx.debugLine("找头发区域： X1=" + std::to_string(region.X1) + "   X2=" + std::to_string(region.X2) +
                  "   Y1=" + std::to_string(region.Y1) + "   Y2=" + std::to_string(region.Y2));
    ctx.debugLine("清晰度=" + percent + "%   测试总像素=" + std::to_string(count.total) +
                  "   同像素个数=" + std::to_string(count.same));
}

// Measures the hair, middle and lower regions in turn and gives the smallest SameCount. A region is
// told by its bottom row, so a hair region that ends where the middle one does stands in for it.
int32_t measureClarity(CheckContext& ctx, const GrayPlane& gray, const ClarityRegion& hairRegion) {
    const int midX = gray.width() / 2;
    const int midY = gray.height() / 2;
    const ClarityRegion middle{midX - 40, midX + 40, midY - 60, midY - 20};
    const ClarityRegion lower{midX - 40, midX + 40, midY + 50, midY + 100};
    std::array<int32_t, 3> sameCounts{0, 0, 0};
    ClarityRegion current = hairRegion;
    for (;;) {
        const ClarityCount count = measureRegion(gray, current);
        logRegion(ctx, current, count);
        if (current.Y2 == lower.Y2) {
            reportRegion(ctx, current, count, "lower");
            sameCounts[2] = count.same;
            std::sort(sameCounts.begin(), sameCounts.end());
            ctx.debugLine("最终的清晰=" + std::to_string(sameCounts[0]));
            return sameCounts[0];
        }
        if (current.Y2 == middle.Y2) {
            reportRegion(ctx, current, count, "middle");
            sameCounts[1] = count.same;
            current = lower;
        } else {
            reportRegion(ctx, current, count, "hair");
            sameCounts[0] = count.same;
            current = middle;
        }
    }
}

}  // namespace

bool BackgroundAndClarityCheck(CheckContext& ctx) {
    const Bitmap& picture = ctx.orgImage.picture();
    if (picture.empty()) throw ScanLineError();  // a view without a picture has no rows to read

    const GrayPlane gray(ctx.grayLevelsOfPhoto());
    const TopBandCounts band = countTopBand(picture);
    const int32_t background = backgroundGray(gray);
    const HeadTop headTop = headTopOf(band);
    const bool tooHigh = headTooHigh(headTop, ctx.params.ParamBlueRatio);
    reportHeadTop(ctx, picture.width(), headTop, tooHigh);
    if (tooHigh) return ctx.row.fail("头部过高了", ResultRow::Blank::After);

    const int32_t blueRatio = ratioPercent(band.blue, BandDivisor);
    ctx.row.line += "  蓝比=" + std::to_string(blueRatio) + "%";
    ctx.row.addNumber("bluePercent", blueRatio);
    const bool blueEnough = blueRatio >= ctx.params.ParamBlueRatio;
    ctx.measured([&] {
        return judgedMeasurement(MeasureKind::BlueRatio, topBand(picture.width()), blueRatio,
                                 ctx.params.ParamBlueRatio, blueEnough, "blue");
    });
    if (!blueEnough) return ctx.row.fail("背景不是浅蓝色", ResultRow::Blank::After);

    const HairSearch hair = findHair(gray, background);
    if (hair.topRow) {
        ctx.headUp = *hair.topRow - HairTopToHeadUp;
        ctx.measured([&] {
            return lookedAt(MeasureKind::HairTopRow, hairRow(gray, *hair.topRow), *hair.topRow,
                            "hair top " + std::to_string(*hair.topRow));
        });
    }

    const int32_t clarity = measureClarity(ctx, gray, hair.region);
    ctx.row.addNumber("clarityPercent", clarity);
    const bool sharpEnough = clarity <= ctx.params.ParamClarity;
    ctx.measured([&] {
        return judgedMeasurement(MeasureKind::Clarity, Place::none(), clarity, ctx.params.ParamClarity,
                                 sharpEnough, "clarity");
    });
    if (!sharpEnough) return ctx.row.fail("照片清晰度不够", ResultRow::Blank::None);
    return true;
}

}  // namespace photocheck
