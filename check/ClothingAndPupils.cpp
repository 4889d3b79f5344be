#include "check/ClothingAndPupils.h"

#include <cstdlib>
#include <optional>

#include "imaging/Extended.h"

namespace photocheck {
namespace {

constexpr int32_t HueTolerance = 5;
constexpr int32_t SaturationTolerance = 15;
constexpr int32_t ValueTolerance = 15;
constexpr int32_t DarkColumnValue = 5;  // a profile entry above this starts an eye block
constexpr int32_t MarkSpacing = 3;

std::string text(int64_t n) {
    return std::to_string(n);
}

void convert(Hsv& hsv, Colour c) {
    RgbToHsv(hsv, redOf(c), greenOf(c), blueOf(c));
}

bool matchesSkin(const Hsv& pixel, const Hsv& reference) {
    return std::abs(pixel.h - reference.h) <= HueTolerance &&
           std::abs(pixel.s - reference.s) <= SaturationTolerance &&
           std::abs(pixel.v - reference.v) <= ValueTolerance;
}

bool zeroEntries(const std::vector<uint8_t>& profile, int from, int to) {
    if (from < 0 || to >= static_cast<int>(profile.size())) return false;
    for (int k = from; k <= to; ++k)
        if (profile[static_cast<size_t>(k)] != 0) return false;
    return true;
}

bool inside(const Bitmap& photo, int x, int y) {
    return x >= 0 && y >= 0 && x < photo.width() && y < photo.height();
}

// A neighbour outside the photo is not bright.
bool brightAt(const Bitmap& photo, int x, int y) {
    return inside(photo, x, y) && passesBrightTest(photo.pixel(x, y));
}

// The first row from Y2 up to Y1 whose pixel is dark, or none.
std::optional<int> lowestDarkRow(const Bitmap& photo, int x, const Window& band) {
    for (int y = band.Y2; y >= band.Y1; --y)
        if (passesDarkTest(photo.pixel(x, y))) return y;
    return std::nullopt;
}

// The first row from fromY up to Y1 that is bright with a bright neighbour above or to the right.
std::optional<int> catchlightRow(const Bitmap& photo, int x, int fromY, const Window& band) {
    for (int y = fromY; y >= band.Y1; --y)
        if (brightAt(photo, x, y) && (brightAt(photo, x, y - 1) || brightAt(photo, x + 1, y))) return y;
    return std::nullopt;
}

// A catchlight is a mark when something darker closes it from above inside the band.
bool closedAbove(const Bitmap& photo, int x, int r, const Window& band) {
    for (int y = r - 1; y > band.Y1; --y)
        if (!lightEnoughToGoOn(photo.pixel(x, y))) return true;
    return false;
}

// The row of the column's pupil mark: a catchlight above the lowest dark pixel, closed from above.
std::optional<int> confirmedMarkRow(const Bitmap& photo, int x, const Window& band) {
    const std::optional<int> dark = lowestDarkRow(photo, x, band);
    if (!dark) return std::nullopt;
    const std::optional<int> light = catchlightRow(photo, x, *dark, band);
    if (!light || !closedAbove(photo, x, *light, band)) return std::nullopt;
    return light;
}

std::string peakText(const EyeBlock& block) {
    return "eyesVMax=" + text(block.eyesVMax) + " , eyesVMaxX=" + text(block.eyesVMaxX);
}

constexpr int32_t MarksForAnEye = 2;

// The scanned columns a to b of the band; an empty scan has no place.
Place scanned(int32_t a, int32_t b, const Window& band) {
    return a <= b ? Place::rectangle(a, band.Y1, b, band.Y2) : Place::none();
}

// An eye with two marks passes; one with fewer fails only while pupils are judged.
Judged judgedEye(const CheckContext& ctx, int32_t count) {
    if (count >= MarksForAnEye) return Judged::Passed;
    return ctx.cbEyesLets ? Judged::Failed : Judged::NotJudged;
}

// The marks the scan counted, then the scan with its count.
void reportPupils(CheckContext& ctx, const PupilCount& pupils, int32_t a, int32_t b, const Window& band,
                  const char* eye) {
    if (!ctx.measurements) return;
    const Judged judged = judgedEye(ctx, pupils.count);
    for (int32_t k = 0; k < pupils.count; ++k) {
        const PupilMarkAt& at = pupils.marks[static_cast<size_t>(k)];
        Measurement mark = lookedAt(MeasureKind::PupilMark, Place::point(at.x, at.y), k + 1, "");
        mark.judged = judged;
        ctx.measured([&] { return mark; });
    }
    ctx.measured([&] {
        Measurement scan = judgedMeasurement(MeasureKind::PupilScan, scanned(a, b, band), pupils.count,
                                             MarksForAnEye, true, std::string(eye) + " pupils");
        scan.judged = judged;
        return scan;
    });
}

}  // namespace

Hsv skinReference(const Bitmap& photo, int32_t x, int32_t y) {
    Hsv reference;
    convert(reference, photo.pixel(x, y));
    return reference;
}

SkinCount countSkinInCorner(const Bitmap& photo, const Hsv& reference) {
    SkinCount skin;
    Hsv hsv;
    for (int y = CornerTop; y < photo.height(); ++y) {
        const uint8_t* row = photo.row(y);
        for (int x = CornerLeft; x < photo.width(); ++x) {
            ++skin.total;
            const uint8_t* bgr = row + 3 * static_cast<size_t>(x);
            RgbToHsv(hsv, bgr[2], bgr[1], bgr[0]);
            if (matchesSkin(hsv, reference)) ++skin.count;
        }
    }
    return skin;
}

int32_t skinPercentOf(const SkinCount& skin) {
    if (skin.total == 0) return 0;
    return truncToward0(percentOf(skin.count, skin.total));
}

EyeBlock leftEyeBlock(const std::vector<uint8_t>& ColumnProfile, int32_t X1) {
    const int n = static_cast<int>(ColumnProfile.size());
    EyeBlock block;
    for (int i = 0; i < n; ++i) {
        if (ColumnProfile[static_cast<size_t>(i)] <= DarkColumnValue) continue;
        for (int j = i + 1; j < n; ++j) {
            const int32_t value = ColumnProfile[static_cast<size_t>(j)];
            if (value > block.eyesVMax) {
                block.eyesVMax = value;
                block.eyesVMaxX = X1 + j;
            }
            if (zeroEntries(ColumnProfile, j, j + 3)) {
                block.endColumn = X1 + j - 1;
                return block;
            }
        }
    }
    return block;
}

EyeBlock rightEyeBlock(const std::vector<uint8_t>& ColumnProfile, int32_t X1, int32_t leftEndColumn) {
    const int n = static_cast<int>(ColumnProfile.size());
    EyeBlock block;
    block.endColumn = leftEndColumn;
    for (int i = n - 1; i >= n / 2; --i) {
        if (ColumnProfile[static_cast<size_t>(i)] <= DarkColumnValue) continue;
        block.endColumn = X1 + i;
        for (int j = i - 1; j >= 0; --j) {
            const int32_t value = ColumnProfile[static_cast<size_t>(j)];
            if (value >= block.eyesVMax) {
                block.eyesVMax = value;
                block.eyesVMaxX = X1 + j;
            }
            if (zeroEntries(ColumnProfile, j - 3, j)) return block;
        }
    }
    return block;
}

bool passesDarkTest(Colour c) {
    const int g = greenOf(c), b = blueOf(c);
    return (g < 70 || b < 70) && g + b < 155;
}

bool passesBrightTest(Colour c) {
    const int g = greenOf(c), b = blueOf(c);
    return (g > 90 || b > 90) && g + b > 175;
}

bool lightEnoughToGoOn(Colour c) {
    return greenOf(c) + blueOf(c) >= 180;
}

PupilCount PupilScan(const Bitmap& photo, int32_t a, int32_t b, const Window& band,
                     const std::string& lineStart) {
    PupilCount pupils;
    pupils.line = lineStart;
    int32_t lastX = 0;
    for (int32_t x = a; x <= b && pupils.count < 2; ++x) {
        const std::optional<int> markRow = confirmedMarkRow(photo, x, band);
        if (!markRow) continue;
        if (x - lastX >= MarkSpacing) {
            pupils.marks[static_cast<size_t>(pupils.count)] = {x, *markRow};
            ++pupils.count;
            pupils.line += "        第" + text(pupils.count) + "个   X=" + text(x) + "  Y=" + text(*markRow);
        }
        lastX = x;
    }
    return pupils;
}

bool checkClothingAndPupils(CheckContext& ctx, const Bitmap& photo, const FaceMeasures& face) {
    const Hsv reference = skinReference(photo, face.EyeCentreX, face.EyeCentreY + 1);
    ctx.measured([&] {
        return lookedAt(MeasureKind::SkinReference, Place::point(face.EyeCentreX, face.EyeCentreY + 1),
                        std::nullopt, "skin ref");
    });
    const int32_t SkinPercent = skinPercentOf(countSkinInCorner(photo, reference));
    ctx.debugLine("左下角皮肤色百分比=" + text(SkinPercent));
    const bool covered = SkinPercent <= HighestSkinPercent;
    ctx.measured([&] {
        return judgedMeasurement(
            MeasureKind::SkinCorner,
            Place::rectangle(CornerLeft, CornerTop, photo.width() - 1, photo.height() - 1), SkinPercent,
            HighestSkinPercent, covered, "skin");
    });
    if (!covered) return ctx.row.fail("不能穿低胸装", ResultRow::Blank::None);

    const EyeBlock left = leftEyeBlock(face.ColumnProfile, face.band.X1);
    ctx.debugLine(peakText(left));
    const int32_t leftFrom = left.eyesVMaxX - 10;
    const PupilCount leftPupils = PupilScan(photo, leftFrom, left.endColumn, face.band, "左眼瞳孔，");
    reportPupils(ctx, leftPupils, leftFrom, left.endColumn, face.band, "left");
    if (ctx.cbDebug && leftPupils.count == 2) ctx.row.line += "  左眼瞳孔=2个";
    ctx.row.addNumber("eyeLeftlet", leftPupils.count);
    ctx.debugLine(leftPupils.line);
    if (leftPupils.count == 2) return true;

    const EyeBlock right = rightEyeBlock(face.ColumnProfile, face.band.X1, left.endColumn);
    ctx.debugLine(peakText(right));
    const int32_t rightFrom = right.eyesVMaxX - 10;
    const PupilCount rightPupils = PupilScan(photo, rightFrom, right.endColumn, face.band, "找到右眼瞳孔，");
    reportPupils(ctx, rightPupils, rightFrom, right.endColumn, face.band, "right");
    ctx.debugLine(rightPupils.line);
    if (ctx.cbDebug) ctx.row.line += "  右眼瞳孔=" + text(rightPupils.count) + "个";
    ctx.row.addNumber("eyeRightlet", rightPupils.count);

    if (rightPupils.count >= 2 || !ctx.cbEyesLets) return true;
    return ctx.row.fail("右眼瞳孔必须不小于2个", ResultRow::Blank::None);
}

}  // namespace photocheck
