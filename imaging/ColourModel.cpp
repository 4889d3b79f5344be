#include "imaging/ColourModel.h"

#include <algorithm>
#include <cstring>

#include "imaging/Extended.h"

// The pixel loops below are vectorised at every optimisation level and get a second copy for
// processors with AVX2, chosen when the program starts.
#if defined(__GNUC__) && defined(__x86_64__) && defined(__linux__) && !defined(__clang__)
#define PHOTOCHECK_VECTOR_CLONES \
    __attribute__((target_clones("avx2", "default"), optimize("tree-vectorize", "vect-cost-model=dynamic")))
#else
#define PHOTOCHECK_VECTOR_CLONES
#endif

namespace photocheck {

namespace {

bool isChannel(int value) {
    return value >= 0 && value <= 255;
}

// Half-up truncation of the rational p / q for q > 0: trunc(p / q + 1/2) = trunc((2p + q) / 2q), and
// integer division truncates toward zero as the truncation does.
int32_t halfUpRatio(int32_t p, int32_t q) {
    return (2 * p + q) / (2 * q);
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

constexpr int ChunkPixels = 64;

// The rounded level of every pixel of a chunk with the ties marked, in plain integer arithmetic the
// compiler turns into vector instructions; where the processor has AVX2 a second copy uses it.
PHOTOCHECK_VECTOR_CLONES
void levelsMarkingTies(const uint8_t* __restrict bgr, int count, uint8_t* __restrict levels,
                       uint8_t* __restrict ties) {
    for (int i = 0; i < count; ++i) {
        const int hundredths = hundredthsOf(bgr[3 * i + 2], bgr[3 * i + 1], bgr[3 * i]);
        const int level = roundedHundredths(hundredths);
        levels[i] = static_cast<uint8_t>(level);
        ties[i] = hundredths - 100 * level == 50 ? 1 : 0;
    }
}

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
