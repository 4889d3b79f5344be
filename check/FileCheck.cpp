#include "check/FileCheck.h"

#include "imaging/Jpeg.h"
#include "platform/Paths.h"

namespace photocheck {
namespace {

bool isJpgExtension(const std::string& ext) {
    return asciiUpper(ext) == "JPG";
}

void addMode(ResultRow& row, const std::string& ext) {
    row.line += "  " + ext;
    row.addText("mode", ext);
}

void addPixelSize(ResultRow& row, int width, int height) {
    const std::string pix = std::to_string(width) + "*" + std::to_string(height);
    row.line += "  " + pix;
    row.addText("pix", pix);
}

void addFileSize(ResultRow& row, int64_t kb) {
    row.line += "  " + std::to_string(kb) + "K";
    row.addNumber("Picsize", kb);
}

Measurement formatMeasurement(const std::string& ext, bool jpg) {
    Measurement m = lookedAt(MeasureKind::FileFormat, Place::none(), std::nullopt, "format " + ext);
    if (!jpg) m.label += ", not JPG";
    m.judged = jpg ? Judged::Passed : Judged::Failed;
    return m;
}

Measurement pixelSizeMeasurement(int width, int height, bool rightSize) {
    const std::string size = std::to_string(width) + "*" + std::to_string(height);
    Measurement m = lookedAt(MeasureKind::PixelSize, Place::none(), std::nullopt, "pixels " + size);
    if (!rightSize) m.label += ", not " + std::to_string(PhotoWidth) + "*" + std::to_string(PhotoHeight);
    m.judged = rightSize ? Judged::Passed : Judged::Failed;
    return m;
}

// The three views show one bitmap until one of them is painted on.
void loadIntoViews(CheckContext& ctx, Bitmap&& photo) {
    ctx.orgImage.assign(std::move(photo));
    ctx.showImage.share(ctx.orgImage);
    ctx.MyImage.share(ctx.orgImage);
}

}  // namespace

bool FileCheck(CheckContext& ctx, const std::string& path) {
    ctx.orgImage.clear();
    const std::string ext = extensionOf(path);
    addMode(ctx.row, ext);
    const bool jpg = isJpgExtension(ext);
    ctx.measured([&] { return formatMeasurement(ext, jpg); });
    if (!jpg) return ctx.row.fail("照片格式必须是JPG", ResultRow::Blank::After);

    // The header tells the size; the pixels are decoded only for a photo of the right size.
    JpegReader jpeg(path);
    const bool rightSize = jpeg.width() == PhotoWidth && jpeg.height() == PhotoHeight;
    Bitmap photo = rightSize ? jpeg.decode() : Bitmap();
    addPixelSize(ctx.row, jpeg.width(), jpeg.height());
    ctx.measured([&] { return pixelSizeMeasurement(jpeg.width(), jpeg.height(), rightSize); });
    if (!rightSize) return ctx.row.fail("照片像素必须是390*567", ResultRow::Blank::After);

    const int64_t kb = jpeg.fileSize() / 1024;
    addFileSize(ctx.row, kb);
    const bool bigEnough = kb >= ctx.params.ParamFileSizeKb;
    ctx.measured([&] {
        return judgedMeasurement(MeasureKind::FileSize, Place::none(), kb, ctx.params.ParamFileSizeKb,
                                 bigEnough, "size KB");
    });
    if (!bigEnough) return ctx.row.fail("文件小于30KB", ResultRow::Blank::None);

    loadIntoViews(ctx, std::move(photo));
    return true;
}

}  // namespace photocheck
