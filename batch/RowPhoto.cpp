#include "batch/RowPhoto.h"

#include <exception>

#include "imaging/BmpFile.h"
#include "imaging/Jpeg.h"
#include "platform/Paths.h"

namespace photocheck {
namespace {

void showJpeg(CheckContext& ctx, const std::string& path) {
    Bitmap photo;
    try {
        photo = decodeJpeg(path);
    } catch (const std::exception&) {
        return;  // moved away or unreadable: the views keep what they show
    }
    ctx.orgImage.assign(std::move(photo));
    ctx.showImage.share(ctx.orgImage);
    ctx.Memo2.clear();
}

}  // namespace

std::string photoPathOf(const StoredPhoto& row) {
    return trimmed(row.folderPath) + PathSeparator + trimmed(row.name) + "." + trimmed(row.mode);
}

void ShowRowPhoto(CheckContext& ctx, const StoredPhoto& row) {
    if (row.name.empty() && row.mode.empty()) return;
    const std::string format = asciiUpper(trimmed(row.mode));
    if (format == "JPG") {
        showJpeg(ctx, photoPathOf(row));
    } else if (format == "BMP") {
        ctx.showImage.assign(decodeBmp(photoPathOf(row)));
    } else {
        ctx.showImage.clear();
        ctx.orgImage.clear();
    }
}

}  // namespace photocheck
