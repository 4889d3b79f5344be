#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "check/CheckContext.h"
#include "check/Measurement.h"
#include "check/ResultRow.h"
#include "store/DetectionParameters.h"

namespace photocheck {

// The check boxes and thresholds every check context of a run starts from.
struct CheckSettings {
    bool cbDebug = false;
    bool cbEyesLets = false;
    DetectionParameters params;
    bool keepMeasurements = false;  // each judged photo keeps its measurements and picture (a run report)
};

void applySettings(CheckContext& ctx, const CheckSettings& settings);

inline const char* const UnreadableReason = "照片文件无法读取";

// What becomes of a file that cannot be opened or decoded.
enum class Unreadable {
    Raise,       // the error leaves JudgePhoto
    FailTheRow,  // the row gets the reason "照片文件无法读取" and the photo fails
};

// What a judged photo keeps besides its row.
enum class Keep {
    Row,
    // Also what the stages measured and the picture they measured it on (none when the file check
    // failed). A sink attached to the context is replaced for the call.
    RowAndMeasurements,
};

// One photo judged: its complete row and verdict.
struct JudgedPhoto {
    std::string path;
    ResultRow row;  // name, the stages' columns, result and folderPath
    bool passed = false;
    std::optional<std::string> unreadable;  // why the file could not be read, when it could not
    std::vector<std::string> log;           // the log pane lines the stages wrote for this photo
    std::vector<Measurement> measurements;  // with Keep::RowAndMeasurements, in the order made
    std::shared_ptr<const Bitmap> picture;  // with Keep::RowAndMeasurements, when the file check passed
};

// Judges one photo the way the batch run drives the stages: the row is cleared and begins with the
// name (the file name cut before its last "." or " "), then the file check, the background and
// clarity check and the face feature check run while each passes, and the verdict and the folder
// (with its final separator) close the row. The context's log pane is cleared first.
JudgedPhoto JudgePhoto(CheckContext& ctx, const std::string& path, Unreadable whenUnreadable,
                       Keep keep = Keep::Row);

}  // namespace photocheck
