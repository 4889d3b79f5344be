#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/store/ZipTestSupport.h"

namespace photocheck {
namespace {

using test::entry;
using test::TempDir;
using test::writePackage;

struct ZipExtractorModesTest : ::testing::Test {
    TempDir dir;
    std::string zipPath = dir.file("package.zip");
    std::string dest = dir.file("a/b/out/");
    ZipExtractor x;

    void SetUp() override {
        x.ZipName = zipPath;
        x.DestDir = dest;
        x.Password = "secret";
    }
    std::string extracted(const std::string& name) { return test::readFile(dest + name); }
};

TEST_F(ZipExtractorModesTest, AttributesBecomeFileModesOnLinux) {
    ZipWriterEntry readOnly = entry("readonly.txt", "r");
    readOnly.externalAttributes = 0x01;
    ZipWriterEntry unixMode = entry("mode.txt", "m");
    unixMode.hostSystem = 3;
    unixMode.externalAttributes = 0100640u << 16;
    ZipWriterEntry setuid = entry("setuid.txt", "s");
    setuid.hostSystem = 3;
    setuid.externalAttributes = 0104755u << 16;
    writePackage(zipPath, {readOnly, unixMode, setuid, entry("plain.txt", "p")});
    EXPECT_EQ(x.UnZip(), 4);
    const mode_t mask = ::umask(022);
    ::umask(mask);
    struct stat st {};
    ASSERT_EQ(::stat((dest + "plain.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask);
    ASSERT_EQ(::stat((dest + "readonly.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0222, 0u);
    ASSERT_EQ(::stat((dest + "mode.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ASSERT_EQ(::stat((dest + "setuid.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0755u);
}

}  // namespace
}  // namespace photocheck
