#pragma once
#include <string>

#include "check/BackgroundAndClarityCheck.h"
#include "check/CheckContext.h"
#include "check/FaceFeatureCheck.h"
#include "check/FileCheck.h"
#include "platform/Paths.h"

namespace photocheck::test {

// The thresholds of the data package that a real run loads.
inline DetectionParameters packageThresholds() {
    DetectionParameters p;
    p.ParamFileSizeKb = 30;
    p.ParamBlueRatio = 90;
    p.ParamClarity = 200;
    p.ParamRegularity = 90;
    p.ParamHeadRatio = 50;
    return p;
}

// Judges one photo as the batch run does and returns its INSERT statement: the row begins with the
// name, the three stages run while each passes, the verdict and the photo's folder close the row.
inline std::string judgeLikeTheBatchRun(CheckContext& ctx, const std::string& path) {
    ctx.row.clear();
    ctx.row.beginWithName(photoBaseNameOf(path));
    const bool passed = FileCheck(ctx, path) && BackgroundAndClarityCheck(ctx) && FaceFeatureCheck(ctx);
    ctx.row.addVerdict(passed);
    ctx.row.addText("folderPath", folderPartOf(path));
    return ctx.row.insertStatement();
}

}  // namespace photocheck::test
