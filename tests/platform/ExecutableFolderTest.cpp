#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/ExecutableFolder.h"

namespace photocheck {
namespace {

TEST(ExecutableFolderTest, IsTheFolderOfThisTestProgram) {
    const std::string folder = executableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_EQ(folder.back(), '/');
    struct stat st {};
    EXPECT_EQ(::stat((folder + "test_platform").c_str(), &st), 0);
}

}  // namespace
}  // namespace photocheck
