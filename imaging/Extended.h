#pragma once
// 80-bit extended arithmetic, as the measurements are defined in it.
//
// Every ratio of the checks is formed as (count / divisor) x 100 with the division first and every
// operation rounded to a 64-bit mantissa, ties to even. On x86 the compiler's long double is exactly
// that format; elsewhere (or with PHOTOCHECK_SOFT_EXTENDED) the same arithmetic runs in software.
#include <cfloat>
#include <cmath>
#include <cstdint>

#if LDBL_MANT_DIG == 64 && LDBL_MAX_EXP == 16384 && !defined(PHOTOCHECK_SOFT_EXTENDED)
#define PHOTOCHECK_NATIVE_EXTENDED 1
#else
#include "imaging/SoftExtended.h"
#endif

namespace photocheck {

#ifdef PHOTOCHECK_NATIVE_EXTENDED
using Extended = long double;
inline int64_t truncateExtended(Extended x) {
    return static_cast<int64_t>(x);
}
inline int64_t roundExtendedToEven(Extended x) {
    return static_cast<int64_t>(std::nearbyintl(x));
}
#else
using Extended = SoftExtended;
inline int64_t truncateExtended(const Extended& x) {
    return x.truncated();
}
inline int64_t roundExtendedToEven(const Extended& x) {
    return x.roundedToEven();
}
#endif

// The extended value nearest to p / q (0.3 is extendedRatio(3, 10)).
inline Extended extendedRatio(int64_t p, int64_t q) {
    return Extended(p) / Extended(q);
}

// Add 0.5, then drop the fraction toward zero (-1.2 gives 0, -1.6 gives -1).
inline int32_t halfUpTrunc(const Extended& x) {
    return static_cast<int32_t>(truncateExtended(x + Extended(0.5)));
}

// Drop the fraction toward zero.
inline int32_t truncToward0(const Extended& x) {
    return static_cast<int32_t>(truncateExtended(x));
}

// (count / divisor) x 100, division first, in extended precision.
inline Extended percentOf(int64_t count, int64_t divisor) {
    const Extended quotient = Extended(count) / Extended(divisor);
    return quotient * Extended(100);
}

// The usual ratio of the checks: (count / divisor) x 100 rounded half up.
inline int32_t ratioPercent(int64_t count, int64_t divisor) {
    return halfUpTrunc(percentOf(count, divisor));
}

}  // namespace photocheck
