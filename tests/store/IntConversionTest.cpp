#include <gtest/gtest.h>

#include "store/IntConversion.h"

namespace photocheck {
namespace {

std::string conversionMessage(const std::string& text) {
    try {
        StrToInt(text);
    } catch (const ConversionError& e) {
        return e.what();
    }
    return "no error";
}

TEST(StrToIntTest, LeadingBlanksAndSignAreAccepted) {
    EXPECT_EQ(StrToInt("  12"), 12);
    EXPECT_EQ(StrToInt("-5"), -5);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("007"), 7);
}

TEST(StrToIntTest, HexadecimalAfterEachPrefix) {
    EXPECT_EQ(StrToInt("$1F"), 31);
    EXPECT_EQ(StrToInt("0x1f"), 31);
    EXPECT_EQ(StrToInt("0X1F"), 31);
    EXPECT_EQ(StrToInt("x10"), 16);
    EXPECT_EQ(StrToInt("X10"), 16);
    EXPECT_EQ(StrToInt("-$10"), -16);
}

TEST(StrToIntTest, ThirtyTwoBitLimits) {
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToInt("$7FFFFFFF"), 2147483647);
    EXPECT_EQ(conversionMessage("2147483648"), "'2147483648' is not a valid integer value");
    EXPECT_EQ(conversionMessage("99999999999"), "'99999999999' is not a valid integer value");
    EXPECT_EQ(conversionMessage("$80000000"), "'$80000000' is not a valid integer value");
}

TEST(StrToIntTest, AnythingElseIsRefusedWithTheTextQuoted) {
    EXPECT_EQ(conversionMessage("12 "), "'12 ' is not a valid integer value");
    EXPECT_EQ(conversionMessage(""), "'' is not a valid integer value");
    EXPECT_EQ(conversionMessage("1.5"), "'1.5' is not a valid integer value");
    EXPECT_EQ(conversionMessage("-"), "'-' is not a valid integer value");
    EXPECT_EQ(conversionMessage("$"), "'$' is not a valid integer value");
    EXPECT_EQ(conversionMessage("0x"), "'0x' is not a valid integer value");
    EXPECT_EQ(conversionMessage("1F"), "'1F' is not a valid integer value");
    EXPECT_EQ(conversionMessage("\t5"), "'\t5' is not a valid integer value");
    EXPECT_EQ(conversionMessage("- 5"), "'- 5' is not a valid integer value");
}

}  // namespace
}  // namespace photocheck
