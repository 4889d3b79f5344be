#include "imaging/ColourModel.h"

#include <algorithm>
#include <cstring>

// The AVX2 kernel below is compiled for x86-64 Linux only and chosen when the processor has AVX2. GCC
// for Windows does not align the stack for 32-byte vectors, so a spilled one could fault there: the
// Windows build keeps the plain loop.
#if defined(__GNUC__) && defined(__x86_64__) && defined(__linux__)
#define PHOTOCHECK_AVX2_KERNEL 1
#include <immintrin.h>
#endif

#include "imaging/Extended.h"
#include "imaging/VectorClones.h"

namespace photocheck {

namespace {

bool isChannel(int value) {
    return value >= 0 && value <= 255;
}

// The quotients of the conversion have numerators below 2^18 in size and divisors n from 2 to 510.
// floor(2^32 / n) + 1 exceeds 2^32 / n by at most 1, so a numerator N times it, shifted down by 32,
// exceeds N / n by less than N / 2^32, which is less than 1/n: too little to reach the next whole
// number. The quotient is then a multiplication instead of a division.
constexpr int LargestDivisor = 510;

struct Reciprocals {
    uint64_t of[LargestDivisor + 1] = {};
    constexpr Reciprocals() {
        for (uint64_t n = 1; n <= LargestDivisor; ++n) of[n] = (uint64_t{1} << 32) / n + 1;
    }
};
constexpr Reciprocals DivisorReciprocals;

// Half-up truncation of the rational p / q for channel values (q from 1 to 255):
// trunc(p / q + 1/2) = trunc((2p + q) / 2q), truncated toward zero as the truncation does.
int32_t halfUpRatio(int32_t p, int32_t q) {
    const int32_t numerator = 2 * p + q;
    const auto magnitude = static_cast<uint64_t>(numerator < 0 ? -numerator : numerator);
    const auto quotient = static_cast<int32_t>((magnitude * DivisorReciprocals.of[2 * q]) >> 32);
    return numerator < 0 ? -quotient : quotient;
}

}  // namespace

// For channel values the extended evaluation gives the integers of exact rational arithmetic, so
// they are worked out in integers.
void RgbToHsv(Hsv& hsv, int r, int g, int b) {
    if (!isChannel(r) || !isChannel(g) || !isChannel(b)) return RgbToHsvExtended(hsv, r, g, b);
    hsv.v = std::max({r, g, b});
    const int32_t d = hsv.v - std::min({r, g, b});
    hsv.s = hsv.v == 0 ? 0 : halfUpRatio(255 * d, hsv.v);
    if (hsv.s == 0) return;
    if (hsv.v == r)
        hsv.h = halfUpRatio((g - b) * 60, d);
    else if (hsv.v == g)
        hsv.h = halfUpRatio((b - r) * 60 + 120 * d, d);
    else
        hsv.h = halfUpRatio((r - g) * 60 + 240 * d, d);
    if (hsv.h < 0) hsv.h += 360;
}

void RgbToHsvExtended(Hsv& hsv, int r, int g, int b) {
    const Extended R(r), G(g), B(b);
    hsv.v = halfUpTrunc(std::max({R, G, B}));
    const int32_t m = halfUpTrunc(std::min({R, G, B}));
    const int32_t d = hsv.v - m;
    hsv.s = hsv.v == 0 ? 0 : halfUpTrunc(Extended(d) / Extended(hsv.v) * Extended(255));
    if (hsv.s == 0) return;
    const Extended V(hsv.v), D(d), sixty(60);
    if (V == R) {
        hsv.h = halfUpTrunc((G - B) * sixty / D);
    } else if (V == G) {
        hsv.h = halfUpTrunc((B - R) * sixty / D + Extended(120));
    } else if (V == B) {
        hsv.h = halfUpTrunc((R - G) * sixty / D + Extended(240));
    }
    if (hsv.h < 0) hsv.h += 360;
}

namespace {

// R x 0.3 + G x 0.59 + B x 0.11 with every step rounded to extended precision.
Extended extendedGraySum(int r, int g, int b) {
    static const Extended redWeight = extendedRatio(3, 10);
    static const Extended greenWeight = extendedRatio(59, 100);
    static const Extended blueWeight = extendedRatio(11, 100);
    const Extended p1 = Extended(r) * redWeight;
    const Extended p2 = Extended(g) * greenWeight;
    const Extended p3 = Extended(b) * blueWeight;
    return (p1 + p2) + p3;
}

// The exact sum is (30 R + 59 G + 11 B) / 100; it lies at least 0.01 away from a half unless it is
// one, and the extended evaluation errs by far less, so only ties need the extended arithmetic.
int hundredthsOf(int r, int g, int b) {
    return 30 * r + 59 * g + 11 * b;
}

// The nearest whole number away from a tie; at a tie, the one below.
int roundedHundredths(int hundredths) {
    return (hundredths + 49) / 100;
}

bool isTie(int hundredths) {
    return hundredths % 100 == 50;
}

// At a tie the exact sum is below + 0.5; the extended sum lies just above it, just below it or on
// it, and on it the even neighbour wins.
int resolveTie(int r, int g, int b, int below) {
    const Extended sum = extendedGraySum(r, g, b);
    const Extended half = Extended(below) + Extended(0.5);
    if (sum > half) return below + 1;
    if (sum < half) return below;
    return below % 2 == 0 ? below : below + 1;
}

}  // namespace

int GrayLevelExtended(int r, int g, int b) {
    return static_cast<int>(roundExtendedToEven(extendedGraySum(r, g, b)));
}

int GrayLevel(int r, int g, int b) {
    const int hundredths = hundredthsOf(r, g, b);
    const int level = roundedHundredths(hundredths);
    return isTie(hundredths) ? resolveTie(r, g, b, level) : level;
}

namespace {

constexpr int ChunkPixels = 256;

// The rounded level of every pixel of a chunk with the ties marked, in plain integer arithmetic the
// compiler turns into vector instructions; where the processor has AVX2 a second copy uses it.
PHOTOCHECK_VECTOR_CLONES
void plainLevelsMarkingTies(const uint8_t* __restrict bgr, int count, uint8_t* __restrict levels,
                            uint8_t* __restrict ties) {
    for (int i = 0; i < count; ++i) {
        // At most 25,500 hundredths: 16-bit lanes hold them, twice as many to a vector as 32-bit ones.
        const auto hundredths =
            static_cast<uint16_t>(30 * bgr[3 * i + 2] + 59 * bgr[3 * i + 1] + 11 * bgr[3 * i]);
        const auto level = static_cast<uint16_t>((hundredths + 49) / 100);
        levels[i] = static_cast<uint8_t>(level);
        ties[i] = static_cast<uint16_t>(hundredths - 100 * level) == 50 ? 1 : 0;
    }
}

#ifdef PHOTOCHECK_AVX2_KERNEL

// The hundredths of eight pixels as 32-bit numbers (pixels 0 to 3 in the low half, 4 to 7 in the high
// one): each pixel's bytes are spread to blue, green, red, 0, multiplied by 11, 59, 30, 0 and added up
// in pairs twice. Reads exactly the 24 bytes of the pixels.
__attribute__((target("avx2"))) __m256i hundredthsOfEight(const uint8_t* bgr) {
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                            4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
    const __m256i weights = _mm256_setr_epi8(11, 59, 30, 0, 11, 59, 30, 0, 11, 59, 30, 0, 11, 59, 30, 0,  //
                                             11, 59, 30, 0, 11, 59, 30, 0, 11, 59, 30, 0, 11, 59, 30, 0);
    const __m256i bytes = _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(bgr + 8)), 1);
    const __m256i pairs = _mm256_maddubs_epi16(_mm256_shuffle_epi8(bytes, spread), weights);
    return _mm256_madd_epi16(pairs, _mm256_set1_epi16(1));
}

// The same as plainLevelsMarkingTies for sixteen pixels at a time, with far fewer shuffles than the
// compiler's copy needs for pixels of three bytes. The hundredths are narrowed to 16 bits and divided
// by 100 as a product: (h + 49) * 5243 / 2^19 rounds down to (h + 49) / 100 for every h up to 25,500.
// Gives the number of pixels done, a multiple of 16; the rest is left to the plain loop.
__attribute__((target("avx2"))) int levelsMarkingTiesAvx2(const uint8_t* bgr, int count, uint8_t* levels,
                                                          uint8_t* ties) {
    constexpr int InPixelOrder = _MM_SHUFFLE(3, 1, 2, 0);  // the 64-bit quarters 0, 2, 1, 3
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const uint8_t* p = bgr + 3 * static_cast<size_t>(i);
        const __m256i hundredths = _mm256_permute4x64_epi64(
            _mm256_packus_epi32(hundredthsOfEight(p), hundredthsOfEight(p + 24)), InPixelOrder);
        const __m256i level = _mm256_srli_epi16(
            _mm256_mulhi_epu16(_mm256_add_epi16(hundredths, _mm256_set1_epi16(49)), _mm256_set1_epi16(5243)),
            3);
        const __m256i rest = _mm256_sub_epi16(hundredths, _mm256_mullo_epi16(level, _mm256_set1_epi16(100)));
        const __m256i tie =
            _mm256_and_si256(_mm256_cmpeq_epi16(rest, _mm256_set1_epi16(50)), _mm256_set1_epi16(1));
        const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(level, tie), InPixelOrder);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(levels + i), _mm256_castsi256_si128(bytes));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(ties + i), _mm256_extracti128_si256(bytes, 1));
    }
    return i;
}

using LevelsKernel = int (*)(const uint8_t*, int, uint8_t*, uint8_t*);

LevelsKernel vectorKernel() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") ? levelsMarkingTiesAvx2 : nullptr;
}

void levelsMarkingTies(const uint8_t* bgr, int count, uint8_t* levels, uint8_t* ties) {
    static const LevelsKernel kernel = vectorKernel();
    const int done = kernel ? kernel(bgr, count, levels, ties) : 0;
    plainLevelsMarkingTies(bgr + 3 * static_cast<size_t>(done), count - done, levels + done, ties + done);
}

#else

void levelsMarkingTies(const uint8_t* bgr, int count, uint8_t* levels, uint8_t* ties) {
    plainLevelsMarkingTies(bgr, count, levels, ties);
}

#endif

// Whether the level of every pixel lies above the threshold, as white (255) or black (0) in all three
// channels; the ties at the threshold are marked.
PHOTOCHECK_VECTOR_CLONES
void thresholdMarkingTies(const uint8_t* __restrict bgr, int count, int threshold, uint8_t* __restrict out,
                          uint8_t* __restrict ties) {
    const int boundary = 100 * threshold + 50;
    for (int i = 0; i < count; ++i) {
        const int hundredths = hundredthsOf(bgr[3 * i + 2], bgr[3 * i + 1], bgr[3 * i]);
        const uint8_t value = hundredths > boundary ? 255 : 0;
        out[3 * i] = out[3 * i + 1] = out[3 * i + 2] = value;
        ties[i] = hundredths == boundary ? 1 : 0;
    }
}

// Calls settle(i) for every marked pixel of a chunk.
template <typename Settle>
void forEachTie(const uint8_t* ties, int count, Settle settle) {
    const uint8_t* end = ties + count;
    for (const void* found = ties;
         (found = std::memchr(found, 1, static_cast<size_t>(end - static_cast<const uint8_t*>(found))));) {
        const auto* tie = static_cast<const uint8_t*>(found);
        settle(static_cast<int>(tie - ties));
        found = tie + 1;
    }
}

}  // namespace

void GrayLevelsOfPixels(const uint8_t* bgr, int count, uint8_t* levels) {
    uint8_t ties[ChunkPixels];
    for (int start = 0; start < count; start += ChunkPixels) {
        const int n = std::min(ChunkPixels, count - start);
        const uint8_t* chunk = bgr + 3 * static_cast<size_t>(start);
        uint8_t* chunkLevels = levels + start;
        levelsMarkingTies(chunk, n, chunkLevels, ties);
        forEachTie(ties, n, [&](int i) {
            const uint8_t* p = chunk + 3 * i;
            chunkLevels[i] = static_cast<uint8_t>(resolveTie(p[2], p[1], p[0], chunkLevels[i]));
        });
    }
}

void ThresholdPixels(const uint8_t* bgr, int count, int threshold, uint8_t* out) {
    threshold = std::clamp(threshold, -1, 255);  // every level lies above -1 and none above 255
    uint8_t ties[ChunkPixels];
    for (int start = 0; start < count; start += ChunkPixels) {
        const int n = std::min(ChunkPixels, count - start);
        const uint8_t* chunk = bgr + 3 * static_cast<size_t>(start);
        uint8_t* chunkOut = out + 3 * static_cast<size_t>(start);
        thresholdMarkingTies(chunk, n, threshold, chunkOut, ties);
        forEachTie(ties, n, [&](int i) {
            const uint8_t* p = chunk + 3 * i;
            const uint8_t value = GrayLevel(p[2], p[1], p[0]) > threshold ? 255 : 0;
            chunkOut[3 * i] = chunkOut[3 * i + 1] = chunkOut[3 * i + 2] = value;
        });
    }
}

}  // namespace photocheck
