#include "check/HeadAndUprightness.h"

#include <algorithm>

#include "check/EyeLine.h"
#include "check/FileCheck.h"
#include "imaging/Extended.h"

namespace photocheck {
namespace {

constexpr int32_t headLow = 0;  // nothing sets the head's low row; the log shows it as 0

std::string text(int64_t n) {
    return std::to_string(n);
}

void appendHeadPercent(CheckContext& ctx, int32_t left, int32_t right, int32_t headHeight,
                       int32_t headPercent) {
    ctx.row.addNumber("headPercent", headPercent);
    ctx.debugLine(" 双眼间的距离= " + text(right - left + 1) + "  ,其中左边=" + text(left) +
                  "  ,右边=" + text(right));
    ctx.debugLine(" 头部高度= " + text(headHeight) + "   其中headUp= " + text(ctx.headUp) +
                  "  , headLow=" + text(headLow));
    ctx.debugLine("头部高度比= " + text(headPercent) + " %");
}

void appendRegularPercent(CheckContext& ctx, int32_t regularPercent) {
    if (ctx.cbDebug) ctx.row.line += "  端正比=" + text(regularPercent) + "%";
    ctx.row.addNumber("regularPercent", regularPercent);
}

void logEyeCentre(CheckContext& ctx, int32_t left, int32_t right, const FaceMeasures& face,
                  int32_t regularPercent) {
    ctx.debugLine("双眼中心所在X位置=" + text(face.EyeCentreX) + "   其中左眼右边界位置=" + text(left) +
                  "   其中右眼左边界位置=" + text(right));
    ctx.debugLine("双眼中心坐标  X=" + text(face.EyeCentreX) + "  Y=" + text(face.EyeCentreY) +
                  "  端正比=" + text(regularPercent) + "%");
}

void reportEdges(CheckContext& ctx, const Window& band, int32_t left, int32_t right, bool headPassed) {
    for (const int32_t x : {left, right})
        ctx.measured([&] {
            Measurement m =
                lookedAt(MeasureKind::EyeInnerEdge, Place::column(x, band.Y1, band.Y2), x, text(x));
            m.judged = headPassed ? Judged::Passed : Judged::Failed;
            return m;
        });
}

// MyImage shows the photo binarised at MidPix; it is worked out when something looks at it.
void showBinarised(CheckContext& ctx, int MidPix) {
    ctx.MyImage.assignMade(
        [photo = ctx.orgImage.sharedPicture(), MidPix] { return binarise(*photo, MidPix); });
}

}  // namespace

int32_t darkPixelsIn(const GrayMap& gray, const Window& window, int MidPix) {
    int32_t count = 0;
    for (int y = window.Y1; y <= window.Y2; ++y) count += gray.darkInRow(y, window.X1, window.X2, MidPix);
    return count;
}

int adaptedMidPix(int32_t blackCnt) {
    if (blackCnt < 250) return StartMidPix + 20;
    if (blackCnt < 400) return 90;
    if (blackCnt < 650) return StartMidPix;
    if (blackCnt < 900) return 70;
    if (blackCnt < 1100) return 60;
    return 50;
}

Bitmap binarise(const Bitmap& photo, int MidPix) {
    Bitmap WorkBitmap(photo.width(), photo.height());
    for (int y = 0; y < photo.height(); ++y)
        ThresholdPixels(photo.row(y), photo.width(), MidPix, WorkBitmap.row(y));
    return WorkBitmap;
}

std::vector<uint8_t> columnProfile(const GrayMap& gray, const Window& band, int MidPix) {
    std::vector<uint8_t> profile(static_cast<size_t>(std::max(band.X2 - band.X1 + 1, 0)), 0);
    const int fromX = std::max(band.X1, 0);
    const int toX = std::min(band.X2, gray.width() - 1);
    for (int y = band.Y1; y <= band.Y2; ++y) {
        const uint8_t* levels = gray.span(y, fromX, toX);
        for (int x = fromX; x <= toX; ++x)
            if (levels[x] <= MidPix) ++profile[static_cast<size_t>(x - band.X1)];
    }
    return profile;
}

int32_t leftEyeRightEdge(const std::vector<uint8_t>& ColumnProfile, int32_t X1) {
    const int h = static_cast<int>(ColumnProfile.size()) / 2;
    const auto entry = [&](int k) { return ColumnProfile[static_cast<size_t>(k)]; };
    int32_t edge = 0;
    int peak = 0;
    for (int k = 0; k <= h - 1;) {
        if (entry(k) <= peak) {
            ++k;
            continue;
        }
        peak = entry(k);
        int last = k;
        while (last + 1 <= h - 1 && entry(last + 1) == peak) ++last;
        if (last == h - 1) return X1 + last;
        const int length = last - k + 1;
        edge = X1 + last - length / 2;
        k = last + 1;
    }
    return edge;
}

int32_t rightEyeLeftEdge(const std::vector<uint8_t>& ColumnProfile, int32_t X1) {
    const int n = static_cast<int>(ColumnProfile.size());
    const int h = n / 2;
    const auto entry = [&](int k) { return ColumnProfile[static_cast<size_t>(k)]; };
    int32_t edge = 0;
    int peak = 0;
    for (int k = n - 1; k >= h + 1;) {
        if (entry(k) <= peak) {
            --k;
            continue;
        }
        peak = entry(k);
        int first = k;
        while (first - 1 >= h + 1 && entry(first - 1) == peak) --first;
        if (first == h + 1) return X1 + first;
        const int length = k - first + 1;
        edge = X1 + first + length / 2;
        k = first - 1;
    }
    return edge;
}

int32_t headHeightOf(int32_t EyeDistance) {
    return halfUpTrunc(Extended(EyeDistance) * Extended(3.5));
}

int32_t headPercentOf(int32_t HeadHeight) {
    return ratioPercent(HeadHeight, PhotoHeight);
}

int32_t regularPercentOf(int32_t EyeCentreX) {
    const int32_t d = PhotoWidth - EyeCentreX;
    return d < EyeCentreX ? ratioPercent(d, EyeCentreX) : ratioPercent(EyeCentreX, d);
}

std::optional<FaceMeasures> measureHeadAndUprightness(CheckContext& ctx, const GrayMap& gray,
                                                      const EyeLine& eyes) {
    FaceMeasures face;
    face.band = eyes.band;
    face.EyeCentreY = eyes.EyeCentreY;

    const int32_t blackCnt = darkPixelsIn(gray, face.band, StartMidPix);
    const int MidPix = adaptedMidPix(blackCnt);
    ctx.debugLine("阀值处理：  MidPix=" + text(MidPix) + "   blackCnt=" + text(blackCnt));
    ctx.debugLine(windowText("垂直投影，二值化区域：", face.band));

    face.ColumnProfile = columnProfile(gray, face.band, MidPix);
    showBinarised(ctx, MidPix);
    ctx.debugLine("各列垂直投影数据：" + profileText(face.ColumnProfile));

    const int32_t left = leftEyeRightEdge(face.ColumnProfile, face.band.X1);
    const int32_t right = rightEyeLeftEdge(face.ColumnProfile, face.band.X1);
    const int32_t HeadHeight = headHeightOf(right - left + 1);
    const int32_t headPercent = headPercentOf(HeadHeight);
    appendHeadPercent(ctx, left, right, HeadHeight, headPercent);
    const bool headPassed = headPercent >= ctx.params.ParamHeadRatio;
    reportEdges(ctx, face.band, left, right, headPassed);
    ctx.measured([&] {
        return judgedMeasurement(MeasureKind::HeadHeight, Place::row(eyes.EyeCentreY, left, right),
                                 headPercent, ctx.params.ParamHeadRatio, headPassed, "head");
    });
    if (!headPassed) {
        ctx.row.fail("头部高度要大于等于" + text(ctx.params.ParamHeadRatio), ResultRow::Blank::None);
        return std::nullopt;
    }

    face.EyeCentreX = (left + right) / 2;
    const int32_t regularPercent = regularPercentOf(face.EyeCentreX);
    appendRegularPercent(ctx, regularPercent);
    const bool upright = regularPercent >= ctx.params.ParamRegularity;
    ctx.measured([&] {
        return judgedMeasurement(MeasureKind::Uprightness,
                                 Place::row(face.EyeCentreY, face.EyeCentreX, PhotoWidth / 2), regularPercent,
                                 ctx.params.ParamRegularity, upright, "upright");
    });
    if (!upright) {
        ctx.row.fail("身体不正", ResultRow::Blank::None);
        return std::nullopt;
    }
    logEyeCentre(ctx, left, right, face, regularPercent);
    return face;
}

}  // namespace photocheck
