#include "check/EyeLine.h"

#include <algorithm>
#include <cstdlib>

#include "imaging/Extended.h"

namespace photocheck {
namespace {

// The first column from fromX towards toX (either direction) whose pixel is darker than MidPix.
std::optional<int32_t> firstDarkColumn(const GrayMap& gray, int y, int fromX, int toX, int MidPix) {
    const uint8_t* levels = gray.span(y, std::min(fromX, toX), std::max(fromX, toX));
    const auto level = [&](int x) { return x < 0 || x >= gray.width() ? 255 : levels[x]; };
    const int step = fromX <= toX ? 1 : -1;
    for (int x = fromX;; x += step) {
        if (level(x) < MidPix) return x;
        if (x == toX) return std::nullopt;
    }
}

// The width test of a run: the dark span of its middle row, searched 10 columns beyond the window on
// both sides. Lx and Rx keep the span of an earlier test where the row has no dark pixel.
class WidthTest {
  public:
    WidthTest(const Window& window, const GrayMap& gray, int MidPix)
        : window_(window), gray_(gray), MidPix_(MidPix) {}

    bool wideEnough(int32_t EyeBandTop, int32_t EyeHeight) {
        const int32_t testRow = EyeBandTop + halfUpTrunc(Extended(EyeHeight) / Extended(2));
        const int32_t left = window_.X1 - 10;
        const int32_t right = window_.X2 + 10;
        Lx = firstDarkColumn(gray_, testRow, left, right, MidPix_).value_or(Lx);
        Rx = firstDarkColumn(gray_, testRow, right, left, MidPix_).value_or(Rx);
        return std::abs(Rx - Lx + 1) >= NarrowestEyeLine;
    }

  private:
    const Window& window_;
    const GrayMap& gray_;
    int MidPix_;
    int32_t Lx = 0;
    int32_t Rx = 0;
};

Place placeOf(const Window& w) {
    return Place::rectangle(w.X1, w.Y1, w.X2, w.Y2);
}

// The rows of a run too tall for an eye line, as far as they were counted, across the window.
Place tallRun(const Window& central, const EyeRun& run) {
    return Place::rectangle(central.X1, run.EyeBandBottom - (run.EyeHeight - 1), central.X2,
                            run.EyeBandBottom);
}

Measurement eyeBandMeasurement(const Place& place, int32_t EyeHeight, bool passed) {
    return judgedMeasurement(MeasureKind::EyeBand, place, EyeHeight, TallestEyeRun, passed, "eye band");
}

}  // namespace

Window centralWindow(int width, int height) {
    const int32_t halfWidth = width / 2;
    const int32_t halfHeight = height / 2;
    return {halfWidth - 70, halfWidth + 70, halfHeight - 120, halfHeight};
}

std::vector<uint8_t> rowProfile(const GrayMap& gray, const Window& window, int MidPix) {
    std::vector<uint8_t> profile;
    for (int y = window.Y2; y >= window.Y1; --y)
        profile.push_back(static_cast<uint8_t>(gray.darkInRow(y, window.X1, window.X2 - 1, MidPix)));
    return profile;
}

EyeRun findEyeRun(const std::vector<uint8_t>& RowProfile, const Window& window, const GrayMap& gray,
                  int MidPix) {
    const int n = static_cast<int>(RowProfile.size());
    const auto entry = [&](int k) { return k < n ? RowProfile[static_cast<size_t>(k)] : 0; };
    WidthTest widthTest(window, gray, MidPix);
    EyeRun run;
    for (int i = 0; i <= n - 1; ++i) {
        run.EyeHeight = 0;
        if (entry(i) == 0 || entry(i + 1) == 0) continue;
        run.EyeBandBottom = window.Y2 - i;
        do {
            ++run.EyeHeight;
            if (run.EyeHeight > TallestEyeRun) {
                run.outcome = EyeRun::Outcome::TooTall;
                return run;
            }
            ++i;
        } while (entry(i) != 0 && i != n - 1);
        run.EyeBandTop = window.Y2 - i;
        if (run.EyeHeight >= ShortestEyeLine && widthTest.wideEnough(run.EyeBandTop, run.EyeHeight)) {
            run.outcome = EyeRun::Outcome::Accepted;
            return run;
        }
    }
    return run;
}

int32_t eyeCentreY(int32_t EyeBandTop, int32_t EyeBandBottom) {
    return halfUpTrunc(Extended(EyeBandBottom) - Extended(EyeBandBottom - EyeBandTop + 1) / Extended(2));
}

Window eyeBand(const Window& central, int32_t EyeBandTop, int32_t EyeBandBottom) {
    return {central.X1 - 10, central.X2 + 10, EyeBandTop, EyeBandBottom};
}

std::optional<EyeLine> findEyeLine(CheckContext& ctx, const GrayMap& gray) {
    const Window central = centralWindow(gray.width(), gray.height());
    ctx.debugLine(windowText("水平投影区域：", central));
    ctx.measured(
        [&] { return lookedAt(MeasureKind::EyeSearchWindow, placeOf(central), std::nullopt, "eye search"); });
    const std::vector<uint8_t> RowProfile = rowProfile(gray, central, StartMidPix);
    ctx.debugLine("原始各行水平投影数据：" + profileText(RowProfile));

    const EyeRun run = findEyeRun(RowProfile, central, gray, StartMidPix);
    if (run.outcome == EyeRun::Outcome::TooTall) {
        ctx.measured([&] { return eyeBandMeasurement(tallRun(central, run), run.EyeHeight, false); });
        ctx.row.fail("佩戴眼镜或头歪斜", ResultRow::Blank::After);
        return std::nullopt;
    }
    EyeLine eyes;
    eyes.EyeHeight = run.EyeHeight;
    eyes.EyeBandTop = run.EyeBandTop;
    eyes.EyeBandBottom = run.EyeBandBottom;
    eyes.EyeCentreY = eyeCentreY(run.EyeBandTop, run.EyeBandBottom);
    eyes.band = eyeBand(central, run.EyeBandTop, run.EyeBandBottom);
    ctx.measured([&] { return eyeBandMeasurement(placeOf(eyes.band), eyes.EyeHeight, true); });
    ctx.debugLine("眼高=" + std::to_string(eyes.EyeHeight));
    ctx.debugLine("双眼中心所在Y位置=" + std::to_string(eyes.EyeCentreY) +
                  "   其中上边界位置=" + std::to_string(eyes.EyeBandTop) +
                  "   其中下边界位置=" + std::to_string(eyes.EyeBandBottom));
    return eyes;
}

}  // namespace photocheck
