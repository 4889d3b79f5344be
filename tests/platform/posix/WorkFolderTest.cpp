#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/WorkFolder.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

mode_t modeOf(const std::string& path) {
    struct stat st {};
    lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

std::string refusal(const std::string& folder) {
    try {
        prepareWorkFolder(folder);
    } catch (const WorkFolderError& e) {
        return e.what();
    }
    return "(used)";
}

// The run deletes and replaces files in the working folder: only a folder nobody else can reach.
TEST(WorkFolder, ANamedFolderIsUsedOnlyWhenItIsPrivateAndNeverChangedOnLinux) {
    const test::TempDir dir;
    EXPECT_EQ(prepareWorkFolder(dir.file("new")), dir.file("new/"));
    EXPECT_EQ(modeOf(dir.file("new")), 0700u);
    EXPECT_EQ(prepareWorkFolder(dir.file("new/")), dir.file("new/"));

    ASSERT_EQ(0, symlink(dir.file("new").c_str(), dir.file("link").c_str()));
    EXPECT_EQ(refusal(dir.file("link")), "工作文件夹 " + dir.file("link") + " 是一个链接，不能使用");
    EXPECT_EQ(refusal(dir.file("link/")), "工作文件夹 " + dir.file("link") + " 是一个链接，不能使用");

    ASSERT_EQ(0, mkdir(dir.file("shared").c_str(), 0700));
    ASSERT_EQ(0, chmod(dir.file("shared").c_str(), 0775));
    EXPECT_EQ(refusal(dir.file("shared")),
              "工作文件夹 " + dir.file("shared") +
                  " 其他用户也能访问，不能使用：请先把它设为只有自己能访问（chmod 700），或指定一个新文件夹");
    EXPECT_EQ(modeOf(dir.file("shared")), 0775u);

    test::writeFile(dir.file("file"), "x");
    EXPECT_EQ(refusal(dir.file("file")), "工作文件夹 " + dir.file("file") + " 不是文件夹，不能使用");

    ASSERT_EQ(0, mkdir(dir.file("theirs").c_str(), 0700));
    if (getuid() == 0) {
        ASSERT_EQ(0, chown(dir.file("theirs").c_str(), 65534, 65534));
        EXPECT_EQ(refusal(dir.file("theirs")),
                  "工作文件夹 " + dir.file("theirs") + " 属于其他用户，不能使用");
    } else {
        EXPECT_EQ(refusal("/"), "工作文件夹 / 属于其他用户，不能使用");
    }
}

}  // namespace
}  // namespace photocheck
