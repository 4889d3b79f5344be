#include <gtest/gtest.h>

#include "batch/PassRate.h"

namespace photocheck {
namespace {

TEST(PassRate, HalfAPercentRoundsUp) {
    EXPECT_EQ(PassRate(1, 7), 13);  // 12.5
    EXPECT_EQ(PassRate(3, 5), 38);  // 37.5
}

TEST(PassRate, OtherFractionsRoundToTheNearestPercent) {
    EXPECT_EQ(PassRate(2, 1), 67);   // 66.67
    EXPECT_EQ(PassRate(1, 2), 33);   // 33.33
    EXPECT_EQ(PassRate(1, 199), 1);  // 0.5
    EXPECT_EQ(PassRate(1, 200), 0);  // 0.4975
}

TEST(PassRate, AllOrNonePassed) {
    EXPECT_EQ(PassRate(5, 0), 100);
    EXPECT_EQ(PassRate(0, 5), 0);
}

TEST(PassRate, NoFileGivesZero) {
    EXPECT_EQ(PassRate(0, 0), 0);
}

}  // namespace
}  // namespace photocheck
