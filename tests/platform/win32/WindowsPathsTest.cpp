#include <gtest/gtest.h>

#include "platform/Paths.h"

namespace photocheck {
namespace {

// A Windows path has a drive or a share for its root, and takes "/" as well as "\" between names.
TEST(WindowsPaths, ADriveOrAShareIsARootThatNoDotDotClimbsOutOf) {
    EXPECT_EQ(cleanPath("C:\\photos\\..\\考生\\"), "C:\\考生");
    EXPECT_EQ(cleanPath("C:/photos/./2024/"), "C:\\photos\\2024");
    EXPECT_EQ(cleanPath("C:\\.."), "C:\\");
    EXPECT_EQ(cleanPath("\\\\server\\share\\a\\..\\.."), "\\\\server\\share\\");
    EXPECT_EQ(withoutFinalSeparator("D:\\"), "D:\\");
    EXPECT_EQ(fileNameOf("samples/pass-a.jpg"), "pass-a.jpg");
    EXPECT_EQ(folderPartOf("C:\\photos/sub\\a.jpg"), "C:\\photos/sub\\");
}

}  // namespace
}  // namespace photocheck
