#include "imaging/SoftExtended.h"

#include <cmath>

namespace photocheck {
namespace {

using u128 = unsigned __int128;

int leadingZeros128(u128 v) {
    const auto high = static_cast<uint64_t>(v >> 64);
    if (high != 0) return __builtin_clzll(high);
    const auto low = static_cast<uint64_t>(v);
    return 64 + (low != 0 ? __builtin_clzll(low) : 64);
}

// Shifts right, folding every bit shifted out into the lowest bit (the sticky bit).
u128 shiftRightSticky(u128 v, int shift) {
    if (shift <= 0) return v;
    if (shift >= 128) return v != 0 ? 1 : 0;
    const u128 lost = v & ((u128(1) << shift) - 1);
    return (v >> shift) | (lost != 0 ? 1 : 0);
}

}  // namespace

SoftExtended SoftExtended::fromWide(bool negative, int32_t exponent, u128 magnitude) {
    SoftExtended r;
    if (magnitude == 0) return r;
    // Normalise so that the top bit of the 128-bit field is set; the value is then
    // magnitude x 2^(exponent - 127).
    const int lz = leadingZeros128(magnitude);
    magnitude <<= lz;
    exponent -= lz;
    auto mant = static_cast<uint64_t>(magnitude >> 64);
    const auto rest = static_cast<uint64_t>(magnitude);
    const bool roundBit = (rest >> 63) != 0;
    const bool sticky = (rest << 1) != 0;
    if (roundBit && (sticky || (mant & 1))) {
        ++mant;
        if (mant == 0) {  // carried out of the top: 1.000... x 2^(e+1)
            mant = uint64_t(1) << 63;
            ++exponent;
        }
    }
    r.zero_ = false;
    r.negative_ = negative;
    r.mantissa_ = mant;
    // magnitude x 2^(e-127) with the mantissa as its upper 64 bits is mantissa x 2^(e-63).
    r.exponent_ = exponent;
    return r;
}

SoftExtended::SoftExtended(int64_t v) {
    if (v == 0) return;
    const bool negative = v < 0;
    const uint64_t magnitude = negative ? uint64_t(0) - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    // (v x 2^64) x 2^(63 - 127) is v itself.
    *this = fromWide(negative, 63, u128(magnitude) << 64);
}

SoftExtended::SoftExtended(double v) {
    if (v == 0.0) return;
    if (!std::isfinite(v)) throw std::domain_error("SoftExtended holds finite numbers only");
    int e = 0;
    const double fraction = std::frexp(std::fabs(v), &e);  // v = fraction x 2^e, fraction in [0.5, 1)
    const auto bits = static_cast<uint64_t>(std::ldexp(fraction, 64));  // exact: 53 bits at most
    // (bits x 2^64) x 2^(e - 1 - 127) = bits x 2^(e - 64) = v
    *this = fromWide(v < 0, e - 1, u128(bits) << 64);
}

SoftExtended::SoftExtended(long double v) {
    if (v == 0.0L) return;
    if (!std::isfinite(v)) throw std::domain_error("SoftExtended holds finite numbers only");
    int e = 0;
    const long double fraction = std::frexp(std::fabs(v), &e);  // [0.5, 1)
    const long double scaled = std::ldexp(fraction, 64);
    const long double high = std::floor(scaled);
    const auto bits = static_cast<uint64_t>(high);
    const bool sticky = scaled != high;  // only where long double carries more than 64 bits
    *this = fromWide(v < 0, e - 1, (u128(bits) << 64) | (sticky ? 1 : 0));
}

int compare(const SoftExtended& a, const SoftExtended& b) {
    if (a.zero_ && b.zero_) return 0;
    if (a.zero_) return b.negative_ ? 1 : -1;
    if (b.zero_) return a.negative_ ? -1 : 1;
    if (a.negative_ != b.negative_) return a.negative_ ? -1 : 1;
    int magnitude = 0;
    if (a.exponent_ != b.exponent_)
        magnitude = a.exponent_ < b.exponent_ ? -1 : 1;
    else if (a.mantissa_ != b.mantissa_)
        magnitude = a.mantissa_ < b.mantissa_ ? -1 : 1;
    return a.negative_ ? -magnitude : magnitude;
}

SoftExtended operator+(const SoftExtended& a, const SoftExtended& b) {
    if (a.zero_) return b;
    if (b.zero_) return a;
    // Order by magnitude so that the larger one sets the exponent.
    const bool aLarger =
        a.exponent_ > b.exponent_ || (a.exponent_ == b.exponent_ && a.mantissa_ >= b.mantissa_);
    const SoftExtended& big = aLarger ? a : b;
    const SoftExtended& small = aLarger ? b : a;
    // Mantissas in the upper half of 128 bits, one bit of headroom for a carry.
    const u128 x = u128(big.mantissa_) << 63;
    const u128 y = shiftRightSticky(u128(small.mantissa_) << 63, big.exponent_ - small.exponent_);
    const u128 sum = big.negative_ == small.negative_ ? x + y : x - y;
    if (sum == 0) return SoftExtended();
    // x = mantissa x 2^63 stands for mantissa x 2^(e-63), so the 128-bit value is scaled by 2^(e-126).
    return SoftExtended::fromWide(big.negative_, big.exponent_ + 1, sum);
}

SoftExtended operator-(const SoftExtended& a, const SoftExtended& b) {
    return a + (-b);
}

SoftExtended operator*(const SoftExtended& a, const SoftExtended& b) {
    if (a.zero_ || b.zero_) return SoftExtended();
    const u128 product = u128(a.mantissa_) * u128(b.mantissa_);
    // (ma x 2^(ea-63)) (mb x 2^(eb-63)) = product x 2^(ea+eb-126)
    return SoftExtended::fromWide(a.negative_ != b.negative_, a.exponent_ + b.exponent_ + 1, product);
}

SoftExtended operator/(const SoftExtended& a, const SoftExtended& b) {
    if (b.zero_) throw std::domain_error("division by zero");
    if (a.zero_) return SoftExtended();
    // (ma x 2^64) / mb has 64 or 65 significant bits; the remainder becomes the sticky bit.
    const u128 dividend = u128(a.mantissa_) << 64;
    const u128 quotient = dividend / b.mantissa_;
    const u128 remainder = dividend % b.mantissa_;
    // Two more quotient bits so that rounding sees a round bit below the 64 kept ones.
    const u128 q2 = (quotient << 2) | ((remainder << 2) / b.mantissa_);
    const bool inexact = ((remainder << 2) % b.mantissa_) != 0;
    // a/b = (quotient + r) x 2^(ea-eb-64) = q2 x 2^(ea-eb-66)
    return SoftExtended::fromWide(a.negative_ != b.negative_, a.exponent_ - b.exponent_ + 127 - 66,
                                  q2 | (inexact ? 1 : 0));
}

int64_t SoftExtended::truncated() const {
    if (zero_ || exponent_ < 0) return 0;
    if (exponent_ > 62) throw std::overflow_error("extended value out of 64-bit range");
    const auto magnitude = static_cast<int64_t>(mantissa_ >> (63 - exponent_));
    return negative_ ? -magnitude : magnitude;
}

int64_t SoftExtended::roundedToEven() const {
    const int64_t whole = truncated();
    const SoftExtended fraction = *this - SoftExtended(whole);  // exact
    const SoftExtended half(0.5);
    const SoftExtended size = fraction.negative_ ? -fraction : fraction;
    const int c = compare(size, half);
    const int64_t away = negative_ ? whole - 1 : whole + 1;
    if (c > 0) return away;
    if (c < 0) return whole;
    return (whole % 2 == 0) ? whole : away;
}

}  // namespace photocheck
