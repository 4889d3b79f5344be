#include <gtest/gtest.h>

#include "batch/DebugMode.h"

namespace photocheck {
namespace {

const std::string Samples = std::string(PHOTOCHECK_SOURCE_DIR) + "/samples/";

// The head-too-high photo fails before the checks write any line; on an emptied log pane the marker
// has no line of its own to end, so it stands on a line above the display line.
TEST(DebugMode, AFailureWithoutLinesOnAnEmptiedLogPutsTheMarkerAboveTheDisplayLine) {
    CheckContext ctx;
    ctx.params = {30, 90, 200, 90, 50};
    ctx.cbDebug = true;
    DebugLoad(ctx, Samples + "head-too-high.jpg");
    ctx.Memo2.clear();  // as the results grid does when it shows a photo
    EXPECT_FALSE(DebugCheck(ctx).passed);
    EXPECT_EQ(
        ctx.Memo2.lines(),
        (std::vector<std::string>{
            "- - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - - 不合格",
            ctx.row.line}));
}

}  // namespace
}  // namespace photocheck
