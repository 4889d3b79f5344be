// An attached measurement sink changes nothing the checks write: over every sample photo the rows and
// the log lines are the same with and without one, in debug mode and with pupils judged or not.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "batch/JudgePhoto.h"
#include "check/Measurement.h"
#include "tests/batch/BatchTestSupport.h"

namespace photocheck {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> samplePhotos() {
    std::vector<std::string> photos;
    for (const auto& entry : fs::directory_iterator(std::string(PHOTOCHECK_SOURCE_DIR) + "/samples")) {
        const std::string ext = entry.path().extension().string();
        if (ext == ".jpg" || ext == ".jpeg") photos.push_back(entry.path().string());
    }
    std::sort(photos.begin(), photos.end());
    return photos;
}

// The measurement each reason comes from.
MeasureKind kindOfReason(const std::string& reason) {
    const std::vector<std::pair<std::string, MeasureKind>> kinds = {
        {"照片格式必须是JPG", MeasureKind::FileFormat},   {"照片像素必须是390*567", MeasureKind::PixelSize},
        {"文件小于30KB", MeasureKind::FileSize},          {"头部过高了", MeasureKind::TopBandMiddle},
        {"背景不是浅蓝色", MeasureKind::BlueRatio},       {"照片清晰度不够", MeasureKind::Clarity},
        {"佩戴眼镜或头歪斜", MeasureKind::EyeBand},       {"头部高度要大于等于50", MeasureKind::HeadHeight},
        {"身体不正", MeasureKind::Uprightness},           {"不能穿低胸装", MeasureKind::SkinCorner},
        {"右眼瞳孔必须不小于2个", MeasureKind::PupilScan}};
    for (const auto& [text, kind] : kinds)
        if (text == reason) return kind;
    ADD_FAILURE() << "unknown reason " << reason;
    return MeasureKind::FileFormat;
}

struct Judged {
    std::string reason;
    std::string statement;
    std::string line;
    std::vector<std::string> log;
    int32_t headUp = 0;
};

Judged judge(const std::string& photo, bool pupils, MeasurementSink* sink) {
    CheckContext ctx;
    ctx.params = test::packageThresholds();
    ctx.cbDebug = true;
    ctx.cbEyesLets = pupils;
    ctx.measurements = sink;
    Judged judged;
    const JudgedPhoto judgedPhoto = JudgePhoto(ctx, photo, Unreadable::Raise);
    judged.statement = judgedPhoto.row.insertStatement();
    judged.line = judgedPhoto.row.line;
    judged.reason = judgedPhoto.row.reason;
    judged.log = judgedPhoto.log;
    judged.headUp = ctx.headUp;
    return judged;
}

TEST(MeasurementSink, RowsAndLogLinesOfTheSamplePhotosAreTheSameWithAndWithoutIt) {
    const std::vector<std::string> photos = samplePhotos();
    ASSERT_GE(photos.size(), 10u);
    for (const std::string& photo : photos)
        for (const bool pupils : {false, true}) {
            SCOPED_TRACE(photo + (pupils ? " judging pupils" : ""));
            MeasurementList sink;
            const Judged without = judge(photo, pupils, nullptr);
            const Judged with = judge(photo, pupils, &sink);
            EXPECT_EQ(with.statement, without.statement);
            EXPECT_EQ(with.line, without.line);
            EXPECT_EQ(with.log, without.log);
            EXPECT_EQ(with.headUp, without.headUp);
            // Something was measured, and a failed photo's last failed measurement is the one its
            // reason comes from.
            EXPECT_FALSE(sink.items.empty());
            if (without.reason.empty()) continue;
            const Measurement* failed = decidingFailure(sink.items);
            ASSERT_NE(failed, nullptr) << without.reason;
            EXPECT_EQ(failed->kind, kindOfReason(without.reason)) << failed->label;
        }
}

}  // namespace
}  // namespace photocheck
