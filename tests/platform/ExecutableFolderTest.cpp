#include <gtest/gtest.h>

#include "platform/ExecutableFolder.h"
#include "platform/Paths.h"
#include "tests/support/SystemSupport.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

TEST(ExecutableFolderTest, IsTheFolderOfThisTestProgram) {
    const std::string folder = executableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_GT(rootLengthOf(folder), 0u);
    EXPECT_EQ(folder.back(), PathSeparator);
    EXPECT_TRUE(test::fileExists(test::programIn(withoutFinalSeparator(folder), "test_platform")));
}

}  // namespace
}  // namespace photocheck
