#include "batch/DebugMode.h"

#include "check/AttachedMeasurements.h"
#include "check/BackgroundAndClarityCheck.h"
#include "check/FaceFeatureCheck.h"
#include "check/FileCheck.h"
#include "platform/Paths.h"

namespace photocheck {
namespace {

constexpr int PassedMarkerPairs = 43;
constexpr int FailedMarkerPairs = 42;

std::string hyphenPairs(int count) {
    std::string pairs;
    for (int i = 0; i < count; ++i) pairs += "- ";
    return pairs;
}

// The display line as the last line, the marker at the end of the line before it. When the pane held
// nothing before, the marker stands on a line of its own above the display line.
void markVerdict(LogPane& pane, const std::string& displayLine, bool passed) {
    const std::string marker = passed ? passedMarker() : failedMarker();
    if (pane.count() == 0) pane.add(std::string());
    pane.add(displayLine);
    const int before = pane.count() - 2;
    pane.setLine(before, pane.line(before) + marker);
}

}  // namespace

std::string passedMarker() {
    return hyphenPairs(PassedMarkerPairs) + "合格";
}

std::string failedMarker() {
    return hyphenPairs(FailedMarkerPairs) + "不合格";
}

void DebugLoad(CheckContext& ctx, const std::string& path) {
    ctx.row.line.clear();
    ctx.row.line += "文件名: " + photoBaseNameOf(path);
    ctx.Memo2.add(ctx.row.line);
    FileCheck(ctx, path);
}

DebugChecked DebugCheck(CheckContext& ctx) {
    AttachedMeasurements measurements(ctx);
    ctx.row.line.clear();
    DebugChecked checked;
    checked.passed = BackgroundAndClarityCheck(ctx) && FaceFeatureCheck(ctx);
    checked.measurements = measurements.take();
    if (ctx.cbDebug) markVerdict(ctx.Memo2, ctx.row.line, checked.passed);
    return checked;
}

}  // namespace photocheck
