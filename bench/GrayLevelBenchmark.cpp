#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/Benchmarks.h"
#include "bench/RatioReport.h"
#include "imaging/ColourModel.h"

namespace photocheck::bench {
namespace {

constexpr int64_t Triples = 256 * 256 * 256;

template <int (*Level)(int, int, int)>
void allTriples(benchmark::State& state) {
    for (auto _ : state) {
        uint64_t sum = 0;
        for (int r = 0; r < 256; ++r)
            for (int g = 0; g < 256; ++g)
                for (int b = 0; b < 256; ++b) sum += static_cast<uint64_t>(Level(r, g, b));
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * Triples);
}

// Every triple once, stored blue, green, red.
std::vector<uint8_t> allTriplesAsPixels() {
    std::vector<uint8_t> bgr;
    bgr.reserve(3 * static_cast<size_t>(Triples));
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; ++b) bgr.insert(bgr.end(), {uint8_t(b), uint8_t(g), uint8_t(r)});
    return bgr;
}

// The row conversion the checks use, in rows of the photo's width.
void allTriplesInRows(benchmark::State& state) {
    constexpr int RowWidth = 390;
    const std::vector<uint8_t> bgr = allTriplesAsPixels();
    std::vector<uint8_t> levels(static_cast<size_t>(Triples));
    for (auto _ : state) {
        for (int64_t start = 0; start < Triples; start += RowWidth) {
            const int count = static_cast<int>(std::min<int64_t>(RowWidth, Triples - start));
            GrayLevelsOfPixels(&bgr[3 * static_cast<size_t>(start)], count,
                               &levels[static_cast<size_t>(start)]);
        }
        benchmark::DoNotOptimize(levels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * Triples);
}

}  // namespace

void registerGrayLevelBenchmarks() {
    benchmark::RegisterBenchmark(names::GrayLevelRowsAll, allTriplesInRows)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(names::GrayLevelAll, allTriples<GrayLevel>)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(names::GrayLevelExtendedAll, allTriples<GrayLevelExtended>)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

}  // namespace photocheck::bench
