#include <gtest/gtest.h>

#include "platform/Paths.h"
#include "tests/support/TestSupport.h"

namespace photocheck {
namespace {

using test::native;

// The rows name the photo folder as written once cleaned: the window and the command line agree.
TEST(CleanPath, DropsDotsAndDoubledSeparatorsAsWrittenWithoutAskingTheFileSystem) {
    EXPECT_EQ(cleanPath("/a/./b//../c/"), native("/a/c"));
    EXPECT_EQ(cleanPath("/photos/"), native("/photos"));
    EXPECT_EQ(cleanPath("/.."), native("/"));
    EXPECT_EQ(cleanPath("a/.."), ".");
    EXPECT_EQ(cleanPath("../a/./"), native("../a"));
}

}  // namespace
}  // namespace photocheck
