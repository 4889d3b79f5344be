#include <gtest/gtest.h>

#include "imaging/ColourModel.h"

namespace photocheck {
namespace {

bool operator==(const Hsv& a, const Hsv& b) {
    return a.h == b.h && a.s == b.s && a.v == b.v;
}

TEST(RgbToHsv, EqualsTheExtendedEvaluationForAllTriples) {
    int mismatches = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) {
                Hsv fast{-7, 0, 0}, reference{-7, 0, 0};
                RgbToHsv(fast, r, g, b);
                RgbToHsvExtended(reference, r, g, b);
                if (!(fast == reference)) ++mismatches;
            }
    EXPECT_EQ(mismatches, 0);
}

TEST(RgbToHsv, ValuesOutsideTheChannelRangeTakeTheExtendedEvaluation) {
    Hsv fast{-7, 0, 0}, reference{-7, 0, 0};
    RgbToHsv(fast, 300, -20, 100);
    RgbToHsvExtended(reference, 300, -20, 100);
    EXPECT_EQ(fast.h, reference.h);
    EXPECT_EQ(fast.s, reference.s);
    EXPECT_EQ(fast.v, 300);
}

}  // namespace
}  // namespace photocheck
