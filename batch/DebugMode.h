#pragma once
#include <string>
#include <vector>

#include "check/CheckContext.h"
#include "check/Measurement.h"

namespace photocheck {

// The single-photo debug mode: the operator loads one photo by hand and then checks it, and the
// stages' measurement lines go to the log pane for tuning. Nothing is written to the database and
// nothing is copied. The log pane only grows here.

// The verdict markers that end the last measurement line of a check: 43 (passed) or 42 (failed)
// pairs of a hyphen and a blank, then the verdict.
std::string passedMarker();
std::string failedMarker();

// Loads a photo by hand: the display line becomes "文件名: " + the file name cut before its last "."
// or " ", and goes to the log pane as a new line whether debug mode is on or not; then the file check
// runs on the file. Its verdict is not shown: on a pass the photo is in the three views, on a failure
// the views are as the file check leaves them. A file that cannot be opened or decoded raises the
// file check's error.
void DebugLoad(CheckContext& ctx, const std::string& path);

struct DebugChecked {
    bool passed = false;
    std::vector<Measurement> measurements;  // what stages 2 and 3 measured, in the order made
};

// Checks the photo the views hold, without the file check: the background and clarity check and,
// when it passes, the face feature check, on a cleared display line. In debug mode the stages write
// their lines, then the display line follows as a new last line and the verdict marker is appended
// to the line before it; with debug mode off the log pane is left as it was. What the stages measured
// is kept for showing it; a sink attached to the context is replaced for the call. An error of a
// stage is raised and the lines written so far stay.
DebugChecked DebugCheck(CheckContext& ctx);

}  // namespace photocheck
