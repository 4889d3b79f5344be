#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <random>

#include "imaging/Extended.h"
#include "imaging/SoftExtended.h"

namespace photocheck {
namespace {

// The software arithmetic is held against the hardware's where long double is the x87 80-bit format;
// elsewhere (MSVC's long double is a double, some targets have 128-bit quads) there is nothing to
// compare with, and those tests skip.
constexpr bool LongDoubleIsX87 = LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384;

struct SoftExtendedAgainstX87 : ::testing::Test {
    void SetUp() override {
        if (!LongDoubleIsX87) GTEST_SKIP() << "long double is not the x87 80-bit format on this target";
    }
};

// The hardware's extended value in the same parts: x87 long double holds the 64-bit mantissa with
// its explicit top bit and a biased 15-bit exponent.
struct Parts {
    bool zero;
    bool negative;
    uint64_t mantissa;
    int32_t exponent;
};

Parts partsOf(long double v) {
    unsigned char bytes[16] = {};
    std::memcpy(bytes, &v, sizeof v < 10 ? sizeof v : 10);
    uint64_t mantissa;
    std::memcpy(&mantissa, bytes, 8);
    const int signExp = bytes[8] | (bytes[9] << 8);
    if (v == 0.0L) return {true, false, 0, 0};
    return {false, (signExp & 0x8000) != 0, mantissa, (signExp & 0x7FFF) - 16383};
}

void expectSame(const SoftExtended& soft, long double hard, const char* what) {
    const Parts p = partsOf(hard);
    ASSERT_EQ(soft.isZero(), p.zero) << what;
    if (p.zero) return;
    ASSERT_EQ(soft.isNegative(), p.negative) << what;
    ASSERT_EQ(soft.mantissa(), p.mantissa) << what << " " << static_cast<double>(hard);
    ASSERT_EQ(soft.exponent(), p.exponent) << what;
}

TEST_F(SoftExtendedAgainstX87, IntegersAndDoublesConvertExactly) {
    for (int64_t v : {int64_t(0), int64_t(1), int64_t(-1), int64_t(255), int64_t(-567), int64_t(1) << 40})
        expectSame(SoftExtended(v), static_cast<long double>(v), "int");
    for (double v : {0.5, 3.5, -0.25, 100.0, 1e-3, 123456.789})
        expectSame(SoftExtended(v), static_cast<long double>(v), "double");
}

TEST_F(SoftExtendedAgainstX87, ConstantsOfTheGrayLevelAreTheNearestExtendedValues) {
    expectSame(SoftExtended::ratio(3, 10), 0.3L, "0.3");
    expectSame(SoftExtended::ratio(59, 100), 0.59L, "0.59");
    expectSame(SoftExtended::ratio(11, 100), 0.11L, "0.11");
}

TEST_F(SoftExtendedAgainstX87, ArithmeticMatchesTheHardwareOnRandomOperands) {
    std::mt19937_64 rng(12345);
    std::uniform_int_distribution<int64_t> small(-100000, 100000);
    std::uniform_int_distribution<int64_t> divisor(1, 5000);
    for (int i = 0; i < 200000; ++i) {
        const int64_t p = small(rng), q = divisor(rng), r = small(rng), s = divisor(rng);
        const SoftExtended a = SoftExtended(p) / SoftExtended(q);
        const SoftExtended b = SoftExtended(r) / SoftExtended(s);
        const long double ha = static_cast<long double>(p) / q;
        const long double hb = static_cast<long double>(r) / s;
        expectSame(a, ha, "div");
        expectSame(a + b, ha + hb, "add");
        expectSame(a - b, ha - hb, "sub");
        expectSame(a * b, ha * hb, "mul");
        expectSame(a * SoftExtended(100) + SoftExtended(0.5), ha * 100.0L + 0.5L, "ratio");
        ASSERT_EQ((a * SoftExtended(100) + SoftExtended(0.5)).truncated(),
                  static_cast<int64_t>(ha * 100.0L + 0.5L));
        ASSERT_EQ(a < b, ha < hb);
    }
}

TEST_F(SoftExtendedAgainstX87, GrayLevelSumsMatchTheHardwareForAllTriples) {
    const SoftExtended c1 = SoftExtended::ratio(3, 10), c2 = SoftExtended::ratio(59, 100),
                       c3 = SoftExtended::ratio(11, 100);
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; g += 3)
            for (int b = 0; b < 256; ++b) {
                const SoftExtended s = SoftExtended(r) * c1 + SoftExtended(g) * c2 + SoftExtended(b) * c3;
                volatile long double p1 = r * 0.3L, p2 = g * 0.59L, p3 = b * 0.11L;
                volatile long double h = p1 + p2;
                h = h + p3;
                ASSERT_EQ(s.roundedToEven(), static_cast<int64_t>(__builtin_nearbyintl(h)))
                    << r << "," << g << "," << b;
            }
}

TEST(SoftExtended, TruncationAndTiesToEven) {
    EXPECT_EQ(SoftExtended(-1.6).truncated(), -1);
    EXPECT_EQ(SoftExtended(2.5).roundedToEven(), 2);
    EXPECT_EQ(SoftExtended(3.5).roundedToEven(), 4);
    EXPECT_EQ(SoftExtended(-2.5).roundedToEven(), -2);
    EXPECT_EQ(SoftExtended(-0.4).roundedToEven(), 0);
    EXPECT_THROW(SoftExtended(1) / SoftExtended(0), std::domain_error);
}

}  // namespace
}  // namespace photocheck
