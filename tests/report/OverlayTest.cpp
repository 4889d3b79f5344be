#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "batch/JudgePhoto.h"
#include "check/BackgroundAndClarityCheck.h"
#include "check/FileCheck.h"
#include "imaging/Jpeg.h"
#include "report/Overlay.h"
#include "report/Png.h"
#include "tests/report/PngRead.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

const Colour LightBlue = makeColour(100, 160, 230);
const Colour Hair = makeColour(40, 30, 20);

bool isMarkColour(Colour c) {
    return c == PassedColour || c == FailedColour || c == LookedAtColour;
}

std::vector<const Measurement*> ofKind(const std::vector<Measurement>& all, MeasureKind kind) {
    std::vector<const Measurement*> found;
    for (const Measurement& m : all)
        if (m.kind == kind) found.push_back(&m);
    return found;
}

// The pixels of a row, a column or a rectangle's outline that lie inside the picture.
std::vector<std::pair<int, int>> outline(const Place& p, const Bitmap& b) {
    std::vector<std::pair<int, int>> pixels;
    for (int y = p.y1; y <= p.y2; ++y)
        for (int x = p.x1; x <= p.x2; ++x) {
            const bool edge = x == p.x1 || x == p.x2 || y == p.y1 || y == p.y2;
            if (edge && x >= 0 && y >= 0 && x < b.width() && y < b.height()) pixels.emplace_back(x, y);
        }
    return pixels;
}

// A light blue wall with a block of dark hair from row 120 down: the hair search stops at row 120,
// and the hair region starts at the fourth dark pixel of that row, column 103.
TEST(Overlay, HairTopRowAndClarityRegionsAreDrawnWhereTheStageMeasuredThem) {
    Bitmap photo(PhotoWidth, PhotoHeight, LightBlue);
    test::fillRect(photo, 100, 120, 289, 200, Hair);
    CheckContext ctx;
    ctx.params.ParamBlueRatio = 90;
    ctx.params.ParamClarity = 200;
    MeasurementList sink;
    ctx.measurements = &sink;
    ctx.orgImage.assign(photo);
    EXPECT_FALSE(BackgroundAndClarityCheck(ctx));  // flat regions are not sharp

    const std::vector<const Measurement*> hairRow = ofKind(sink.items, MeasureKind::HairTopRow);
    ASSERT_EQ(hairRow.size(), 1u);
    EXPECT_EQ(hairRow[0]->place, Place::row(120, 40, 350));
    const std::vector<const Measurement*> regions = ofKind(sink.items, MeasureKind::ClarityRegion);
    ASSERT_EQ(regions.size(), 3u);
    EXPECT_EQ(regions[0]->place, Place::rectangle(103, 120, 183, 160));  // hair
    EXPECT_EQ(regions[1]->place, Place::rectangle(155, 223, 235, 263));  // middle
    EXPECT_EQ(regions[2]->place, Place::rectangle(155, 333, 235, 383));  // lower
    for (const Measurement* region : regions) EXPECT_EQ(region->judged, Judged::Failed) << region->label;

    const Bitmap overlay = drawOverlay(photo, sink.items, Caption{});
    for (const Measurement* m : {hairRow[0], regions[0], regions[1], regions[2]})
        for (const auto& [x, y] : outline(m->place, overlay))
            ASSERT_TRUE(isMarkColour(overlay.pixel(x, y))) << m->label << " at " << x << "," << y;
}

TEST(Overlay, PngHasThePhotosSizeAndItsPixelsWhereNothingIsDrawn) {
    const std::string path = std::string(PHOTOCHECK_SOURCE_DIR) + "/samples/off-centre.jpg";
    CheckContext ctx;
    ctx.params = {30, 90, 200, 90, 50};
    const JudgedPhoto judged = JudgePhoto(ctx, path, Unreadable::Raise, Keep::RowAndMeasurements);
    ASSERT_FALSE(judged.passed);
    const test::TempDir dir;
    writePng(overlayOf(judged), dir.file("off-centre.png"));

    const Bitmap png = test::readPng(dir.file("off-centre.png"));
    const Bitmap photo = decodeJpeg(path);
    ASSERT_EQ(png.width(), photo.width());
    ASSERT_GT(png.height(), photo.height());  // the caption strip below
    int kept = 0;
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x) {
            const Colour c = png.pixel(x, y);
            if (c == photo.pixel(x, y)) {
                ++kept;
                continue;
            }
            ASSERT_TRUE(isMarkColour(c) || c == LabelBackground)
                << "photo pixel changed at " << x << "," << y;
        }
    const int all = photo.width() * photo.height();
    EXPECT_LT(kept, all);           // marks were drawn
    EXPECT_GT(kept, all * 9 / 10);  // and the photo shows through
}

}  // namespace
}  // namespace photocheck
