#pragma once
// The 80-bit extended format in software: a sign, a 64-bit mantissa with its top bit set and an
// exponent; every operation is rounded to nearest, ties to even, exactly as the x87 unit does at
// extended precision. Used where the compiler's long double is another format; on x86 the tests hold
// it against the hardware.
#include <cstdint>
#include <stdexcept>

namespace photocheck {

class SoftExtended {
  public:
    constexpr SoftExtended() = default;
    SoftExtended(int v) : SoftExtended(static_cast<int64_t>(v)) {}       // NOLINT: numbers mix freely
    SoftExtended(int64_t v);                                             // NOLINT
    SoftExtended(unsigned v) : SoftExtended(static_cast<int64_t>(v)) {}  // NOLINT
    // Exact for every double; the constants of the checks that are not dyadic come from ratio().
    SoftExtended(double v);  // NOLINT
    // Rounded to 64 bits where long double is wider.
    SoftExtended(long double v);  // NOLINT
    // The extended value nearest to p / q.
    static SoftExtended ratio(int64_t p, int64_t q) { return SoftExtended(p) / SoftExtended(q); }

    friend SoftExtended operator+(const SoftExtended& a, const SoftExtended& b);
    friend SoftExtended operator-(const SoftExtended& a, const SoftExtended& b);
    friend SoftExtended operator*(const SoftExtended& a, const SoftExtended& b);
    friend SoftExtended operator/(const SoftExtended& a, const SoftExtended& b);
    SoftExtended operator-() const {
        SoftExtended r = *this;
        if (!r.zero_) r.negative_ = !r.negative_;
        return r;
    }
    SoftExtended& operator+=(const SoftExtended& b) { return *this = *this + b; }
    SoftExtended& operator-=(const SoftExtended& b) { return *this = *this - b; }
    SoftExtended& operator*=(const SoftExtended& b) { return *this = *this * b; }
    SoftExtended& operator/=(const SoftExtended& b) { return *this = *this / b; }

    friend int compare(const SoftExtended& a, const SoftExtended& b);  // -1, 0, 1
    friend bool operator==(const SoftExtended& a, const SoftExtended& b) { return compare(a, b) == 0; }
    friend bool operator!=(const SoftExtended& a, const SoftExtended& b) { return compare(a, b) != 0; }
    friend bool operator<(const SoftExtended& a, const SoftExtended& b) { return compare(a, b) < 0; }
    friend bool operator<=(const SoftExtended& a, const SoftExtended& b) { return compare(a, b) <= 0; }
    friend bool operator>(const SoftExtended& a, const SoftExtended& b) { return compare(a, b) > 0; }
    friend bool operator>=(const SoftExtended& a, const SoftExtended& b) { return compare(a, b) >= 0; }

    // Drops the fraction toward zero; throws when the result does not fit 64 bits.
    int64_t truncated() const;
    // Rounds to the nearest integer, halves to even.
    int64_t roundedToEven() const;
    explicit operator int32_t() const { return static_cast<int32_t>(truncated()); }
    explicit operator int64_t() const { return truncated(); }

    // The raw parts, for tests against the hardware: value = mantissa x 2^(exponent - 63).
    bool isZero() const { return zero_; }
    bool isNegative() const { return negative_; }
    uint64_t mantissa() const { return mantissa_; }
    int32_t exponent() const { return exponent_; }

  private:
    // Builds a value from a sign, an exponent and a 128-bit magnitude whose lowest bit may carry
    // the sticky bit of what was shifted out; rounds it to 64 bits.
    static SoftExtended fromWide(bool negative, int32_t exponent, unsigned __int128 magnitude);

    bool zero_ = true;
    bool negative_ = false;
    uint64_t mantissa_ = 0;
    int32_t exponent_ = 0;
};

}  // namespace photocheck
