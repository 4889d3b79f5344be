#pragma once
// 80-bit extended arithmetic, as the measurements are defined in it.
//
// Every ratio of the checks is formed as (count / divisor) x 100 with the division first and every
// operation rounded to a 64-bit mantissa. On x86 the compiler's long double is exactly that format.
#include <cfloat>
#include <cstdint>

#if !(LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384)
#error "photocheck needs long double in the 80-bit extended format (64-bit mantissa); this target does not have it"
#endif

namespace photocheck {

using Extended = long double;

// Add 0.5, then drop the fraction toward zero (-1.2 gives 0, -1.6 gives -1).
inline int32_t halfUpTrunc(Extended x) { return static_cast<int32_t>(x + 0.5L); }

// Drop the fraction toward zero.
inline int32_t truncToward0(Extended x) { return static_cast<int32_t>(x); }

// (count / divisor) x 100, division first, in extended precision.
inline Extended percentOf(int64_t count, int64_t divisor) {
    const Extended quotient = static_cast<Extended>(count) / static_cast<Extended>(divisor);
    return quotient * 100.0L;
}

// The usual ratio of the checks: (count / divisor) x 100 rounded half up.
inline int32_t ratioPercent(int64_t count, int64_t divisor) { return halfUpTrunc(percentOf(count, divisor)); }

}  // namespace photocheck
