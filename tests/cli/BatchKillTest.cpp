// A batch run killed halfway keeps every row it reported, in a database that is still sound.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "platform/ExecutableFolder.h"
#include "platform/Files.h"
#include "store/Database.h"
#include "tests/cli/CliSupport.h"
#include "tests/support/SystemSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

namespace fs = std::filesystem;
using clitest::binFolder;

constexpr int PhotoCount = 300;
constexpr int KillAfter = 20;  // reported rows

std::string samplesFolder() {
    const std::string source = __FILE__;
    return source.substr(0, source.rfind("tests/cli/")) + "samples";
}

// The count of a line "。。。。。。。。。。。。。。。已检测照片" + k + "张".
std::optional<int> reportedCount(const std::string& line) {
    const std::string prefix = "。。。。。。。。。。。。。。。已检测照片";
    const std::string suffix = "张";
    if (line.rfind(prefix, 0) != 0 || line.size() < prefix.size() + suffix.size() ||
        line.compare(line.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    return std::stoi(line.substr(prefix.size(), line.size() - prefix.size() - suffix.size()));
}

std::string photoName(int i) {
    char name[16];
    std::snprintf(name, sizeof name, "p%04d", i);
    return name;
}

struct BatchKillTest : clitest::BatchFoldersTest {
    void SetUp() override {
        BatchFoldersTest::SetUp();
        if (IsSkipped()) return;
        std::vector<fs::path> samples;
        for (const auto& e : fs::directory_iterator(nativePath(samplesFolder())))
            if (e.path().extension() == ".jpg") samples.push_back(e.path());
        std::sort(samples.begin(), samples.end());
        ASSERT_FALSE(samples.empty());
        fs::create_directories(nativePath(photos));
        for (int i = 1; i <= PhotoCount; ++i)
            fs::copy_file(samples[static_cast<size_t>(i) % samples.size()],
                          nativePath(photos + "/" + photoName(i) + ".jpg"));
    }
};

TEST_F(BatchKillTest, KilledHalfwayKeepsEveryReportedRowAndASoundDatabase) {
    int reported = 0;
    {
        test::RunningProgram cli(test::programIn(binFolder(), "photocheck-cli"),
                                 {"batch", photos, "--work-folder", work, "-j", "1"});
        while (reported < KillAfter) {
            const std::optional<std::string> line = cli.nextLine();
            ASSERT_TRUE(line) << "the run ended after " << reported << " photos";
            if (const auto count = reportedCount(*line)) reported = *count;
        }
        ASSERT_TRUE(cli.killNow()) << "the run was over before it was killed";
        // What reached the pipe before the kill was reported too.
        while (const std::optional<std::string> line = cli.nextLine())
            if (const auto count = reportedCount(*line)) reported = *count;
    }
    ASSERT_LT(reported, PhotoCount);

    Database db(work + "/qob.trd", DatabaseKey);
    Query q(db);
    OpenSql(q, "PRAGMA integrity_check");
    ASSERT_EQ(q.fetchAll(), 1u);
    EXPECT_EQ(q.text(0, "integrity_check"), "ok");
    OpenSql(q, "select name from pictureMsg order by rowid");
    ASSERT_GE(q.fetchAll(), static_cast<size_t>(reported));
    for (int i = 0; i < reported; ++i)
        ASSERT_EQ(q.text(static_cast<size_t>(i), "name"), " " + photoName(i + 1) + " ");
}

}  // namespace
}  // namespace photocheck
