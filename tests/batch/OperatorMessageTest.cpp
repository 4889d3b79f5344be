#include <gtest/gtest.h>

#include "batch/OperatorMessage.h"
#include "platform/OperatorError.h"
#include "store/Database.h"

namespace photocheck {
namespace {

// Whether a text is the program's own is known by its type, not guessed from its first letter.
TEST(OperatorMessage, TheTypeDecidesWhetherATextIsShownAsItStands) {
    EXPECT_EQ(operatorMessage(DatabaseError("中文的触发器拒绝了")), "数据库出错（中文的触发器拒绝了）");
    EXPECT_EQ(operatorMessage(OperatorError("photocheck.lock 无法打开")), "photocheck.lock 无法打开");
}

}  // namespace
}  // namespace photocheck
