#pragma once
#include <string>

#include "check/CheckContext.h"

namespace photocheck {

// The fields of a results row that lead back to its photo, as stored (with the blanks that the
// batch run writes around name, mode and folderPath).
struct StoredPhoto {
    std::string name;
    std::string mode;
    std::string folderPath;
};

// The photo file of a row: trimmed folderPath, a separator, trimmed name, "." and the trimmed mode,
// which holds the extension in the letter case of the file name. It is the file the batch run
// found, not its copy in a result folder.
std::string photoPathOf(const StoredPhoto& row);

// Shows the photo of the current results row. A JPG row is decoded into orgImage and showImage and
// the log pane is cleared. A BMP row is loaded into showImage only. No earlier photo stays on screen
// for a row whose photo cannot be shown: showImage and orgImage are cleared and the reason is
// returned in the operator's words (no file name, the file missing, not a JPEG, a JPEG that cannot be
// decoded, another format); a BMP file that cannot be read clears them too and raises its error. The
// result is empty when the photo is shown.
std::string ShowRowPhoto(CheckContext& ctx, const StoredPhoto& row);

}  // namespace photocheck
