#include "batch/RowPhoto.h"

#include <exception>

#include "imaging/BmpFile.h"
#include "imaging/Jpeg.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

namespace photocheck {
namespace {

void clearViews(CheckContext& ctx) {
    ctx.showImage.clear();
    ctx.orgImage.clear();
}

// Why a JPEG cannot be decoded: libjpeg says "Not a JPEG file" when the file does not begin as one.
std::string undecodableReason(const std::string& path, const std::string& detail) {
    if (detail.rfind("Not a JPEG file", 0) == 0) return "这个文件不是JPEG照片：" + path;
    return "照片无法解码：" + path + "（" + detail + "）";
}

std::string showJpeg(CheckContext& ctx, const std::string& path) {
    if (!fileExists(path)) return "照片文件不存在（已被移走、改名，或文件名被改过）：" + path;
    Bitmap photo;
    try {
        photo = decodeJpeg(path);
    } catch (const JpegError& e) {
        return undecodableReason(path, e.what());
    } catch (const std::exception& e) {
        return e.what();  // the file cannot be opened, with the system's reason
    }
    ctx.orgImage.assign(std::move(photo));
    ctx.showImage.share(ctx.orgImage);
    ctx.Memo2.clear();
    return {};
}

}  // namespace

std::string photoPathOf(const StoredPhoto& row) {
    return trimmed(row.folderPath) + PathSeparator + trimmed(row.name) + "." + trimmed(row.mode);
}

std::string ShowRowPhoto(CheckContext& ctx, const StoredPhoto& row) {
    const std::string format = asciiUpper(trimmed(row.mode));
    std::string whyNot;
    if (trimmed(row.name).empty() && format.empty()) {
        whyNot = "这一行没有文件名，找不到它的照片";
    } else if (format == "JPG") {
        whyNot = showJpeg(ctx, photoPathOf(row));
    } else if (format == "BMP") {
        try {
            ctx.showImage.assign(decodeBmp(photoPathOf(row)));
        } catch (...) {
            clearViews(ctx);
            throw;
        }
    } else {
        whyNot = "这一行的文件不是JPG照片，没有可显示的照片";
    }
    if (!whyNot.empty()) clearViews(ctx);
    return whyNot;
}

}  // namespace photocheck
