#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "batch/JudgePhoto.h"
#include "platform/Paths.h"
#include "tests/batch/BatchTestSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

namespace fs = std::filesystem;

// Golden pairs: a photo <case>.<ext> of the bundled samples and tests/golden/<case>.row, the INSERT
// statement that a batch run with the data package's thresholds writes for it; <case>.pupils.row is
// the statement with pupil judging on. The photo's folder is written as "<GOLDEN>/", so the rows hold
// wherever the tree lies.
const std::string GoldenFolder = std::string(PHOTOCHECK_SOURCE_DIR) + "/tests/golden";
const std::string SamplesFolder = std::string(PHOTOCHECK_SOURCE_DIR) + "/samples";
const std::string FolderPlaceholder = "<GOLDEN>/";

struct GoldenCase {
    std::string name;  // the row file's name without ".row"
    std::string photo;
    std::string rowFile;
    bool judgingPupils = false;
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.name;
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The photo of a case: the one sample whose name is the case's stem plus an extension.
std::string photoOf(const std::string& stem) {
    for (const auto& entry : fs::directory_iterator(SamplesFolder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(stem + ".", 0) == 0) return entry.path().string();
    }
    return SamplesFolder + "/" + stem + ".missing";
}

std::vector<GoldenCase> goldenCases() {
    std::vector<GoldenCase> cases;
    if (!fs::is_directory(GoldenFolder)) return cases;
    for (const auto& entry : fs::directory_iterator(GoldenFolder)) {
        const std::string name = entry.path().filename().string();
        if (!endsWith(name, ".row")) continue;
        GoldenCase c;
        c.name = name.substr(0, name.size() - 4);
        c.judgingPupils = endsWith(c.name, ".pupils");
        c.photo = photoOf(c.judgingPupils ? c.name.substr(0, c.name.size() - 7) : c.name);
        c.rowFile = entry.path().string();
        cases.push_back(c);
    }
    std::sort(cases.begin(), cases.end(),
              [](const GoldenCase& a, const GoldenCase& b) { return a.name < b.name; });
    return cases;
}

std::string expectedStatement(const GoldenCase& c) {
    std::string text = test::readFile(c.rowFile);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

std::string withFolderPlaceholder(std::string statement) {
    const std::string folder = " ' " + SamplesFolder + PathSeparator + " ' ";
    const size_t at = statement.rfind(folder);
    if (at != std::string::npos) statement.replace(at, folder.size(), " ' " + FolderPlaceholder + " ' ");
    return statement;
}

class GoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenTest, BatchRunWritesTheExpectedRow) {
    const GoldenCase& c = GetParam();
    ASSERT_TRUE(test::fileExists(c.photo)) << "no photo for " << c.rowFile;
    CheckContext ctx;
    ctx.params = test::packageThresholds();
    ctx.cbEyesLets = c.judgingPupils;
    const JudgedPhoto judged = JudgePhoto(ctx, c.photo, Unreadable::FailTheRow);
    EXPECT_EQ(withFolderPlaceholder(judged.row.insertStatement()), expectedStatement(c));
}

std::string testNameOf(const ::testing::TestParamInfo<GoldenCase>& info) {
    std::string name = info.param.name;
    std::replace_if(
        name.begin(), name.end(), [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenTest, ::testing::ValuesIn(goldenCases()), testNameOf);

// A vanished or emptied golden folder must not pass unnoticed: a pass and every reason are locked.
TEST(GoldenFolder, HoldsAPassAndEveryReason) {
    const std::vector<std::string> verdicts = {
        "合格' ",          "照片格式必须是JPG'", "照片像素必须是390*567'",
        "文件小于30KB'",   "头部过高了'",        "背景不是浅蓝色'",
        "照片清晰度不够'", "佩戴眼镜或头歪斜'",  "头部高度要大于等于50'",
        "身体不正'",       "不能穿低胸装'",      "右眼瞳孔必须不小于2个'"};
    std::set<std::string> missing(verdicts.begin(), verdicts.end());
    for (const GoldenCase& c : goldenCases()) {
        const std::string row = expectedStatement(c);
        for (const std::string& v : verdicts)
            if (row.find(",'" + v) != std::string::npos) missing.erase(v);
    }
    EXPECT_TRUE(missing.empty()) << "no golden case for " << *missing.begin();
}

}  // namespace
}  // namespace photocheck
