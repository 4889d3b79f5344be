#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/WorkFolder.h"
#include "tests/support/SystemSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

std::string refusal(const std::string& folder) {
    try {
        prepareWorkFolder(folder);
    } catch (const WorkFolderError& e) {
        return e.what();
    }
    return "(used)";
}

TEST(WorkFolder, TheDefaultIsTheWindowsTempFolderAndANamedOneIsMadeWhenMissingOnWindows) {
    EXPECT_EQ(prepareWorkFolder(""), "C:\\Windows\\Temp\\");
    const test::TempDir dir;
    EXPECT_EQ(prepareWorkFolder(dir.file("new")), dir.file("new\\"));
    EXPECT_TRUE(folderExists(dir.file("new")));
    test::writeFile(dir.file("file"), "x");
    EXPECT_EQ(refusal(dir.file("file")), "工作文件夹 " + dir.file("file") + " 不是文件夹，不能使用");
}

// The run deletes and replaces files in the working folder: never in the folder a junction points to.
TEST(WorkFolder, AJunctionIsRefusedOnWindows) {
    const test::TempDir dir;
    createFolder(dir.file("target"));
    if (!test::makeLink(dir.file("target"), dir.file("junction")))
        GTEST_SKIP() << "no junction can be made here (Wine 8 makes none)";
    EXPECT_EQ(refusal(dir.file("junction")), "工作文件夹 " + dir.file("junction") + " 是一个链接，不能使用");
    EXPECT_EQ(refusal(dir.file("junction\\")),
              "工作文件夹 " + dir.file("junction") + " 是一个链接，不能使用");
}

}  // namespace
}  // namespace photocheck
