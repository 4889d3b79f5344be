#include <gtest/gtest.h>

#include "platform/Paths.h"

namespace photocheck {
namespace {

// The rows name the photo folder as written once cleaned: the window and the command line agree.
TEST(CleanPath, DropsDotsAndDoubledSeparatorsAsWrittenWithoutAskingTheFileSystem) {
    EXPECT_EQ(cleanPath("/a/./b//../c/"), "/a/c");
    EXPECT_EQ(cleanPath("/photos/"), "/photos");
    EXPECT_EQ(cleanPath("/.."), "/");
    EXPECT_EQ(cleanPath("a/.."), ".");
    EXPECT_EQ(cleanPath("../a/./"), "../a");
}

}  // namespace
}  // namespace photocheck
