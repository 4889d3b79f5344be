#include "batch/JudgePhoto.h"

#include <stdexcept>

#include "check/AttachedMeasurements.h"
#include "check/BackgroundAndClarityCheck.h"
#include "check/FaceFeatureCheck.h"
#include "check/FileCheck.h"
#include "platform/Paths.h"

namespace photocheck {
namespace {

// Stage 1 on a file that may not be readable. The file check raises a runtime error when the file
// cannot be opened or decoded; the fragments it appended before stay in the row.
bool loadPhoto(CheckContext& ctx, const std::string& path, Unreadable whenUnreadable,
               std::optional<std::string>& unreadable) {
    if (whenUnreadable == Unreadable::Raise) return FileCheck(ctx, path);
    try {
        return FileCheck(ctx, path);
    } catch (const std::runtime_error& e) {
        unreadable = e.what();
        return ctx.row.fail(UnreadableReason, ResultRow::Blank::After);
    }
}

}  // namespace

void applySettings(CheckContext& ctx, const CheckSettings& settings) {
    ctx.cbDebug = settings.cbDebug;
    ctx.cbEyesLets = settings.cbEyesLets;
    ctx.params = settings.params;
}

JudgedPhoto JudgePhoto(CheckContext& ctx, const std::string& path, Unreadable whenUnreadable, Keep keep) {
    const bool keepMeasurements = keep == Keep::RowAndMeasurements;
    AttachedMeasurements list(ctx, keepMeasurements);
    JudgedPhoto photo;
    photo.path = path;
    ctx.Memo2.clear();
    ctx.row.clear();
    ctx.row.beginWithName(photoBaseNameOf(path));
    photo.passed = loadPhoto(ctx, path, whenUnreadable, photo.unreadable) && BackgroundAndClarityCheck(ctx) &&
                   FaceFeatureCheck(ctx);
    ctx.row.addVerdict(photo.passed);
    ctx.row.addText("folderPath", folderPartOf(path));
    photo.row = ctx.row;
    photo.log = ctx.Memo2.lines();
    if (keepMeasurements) {
        photo.measurements = list.take();
        photo.picture = ctx.orgImage.sharedPicture();
    }
    return photo;
}

}  // namespace photocheck
