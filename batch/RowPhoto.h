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

// Shows the photo of the current results row. A row whose name and mode are both empty shows
// nothing new. A JPG row is decoded into orgImage and showImage and the log pane is cleared; a JPEG
// that cannot be opened or read leaves the views as they were. A BMP row is loaded into showImage
// only (a file that cannot be read raises its error). A row of any other format clears showImage and
// orgImage.
void ShowRowPhoto(CheckContext& ctx, const StoredPhoto& row);

}  // namespace photocheck
