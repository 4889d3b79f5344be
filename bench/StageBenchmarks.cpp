#include <benchmark/benchmark.h>
#include <time.h>

#include <chrono>
#include <memory>

#include "batch/JudgePhoto.h"
#include "bench/Benchmarks.h"
#include "bench/RatioReport.h"
#include "check/BackgroundAndClarityCheck.h"
#include "check/FaceFeatureCheck.h"
#include "check/FileCheck.h"
#include "imaging/Jpeg.h"
#include "platform/Paths.h"

namespace photocheck::bench {
namespace {

using Context = std::shared_ptr<CheckContext>;

Context freshContext(const CheckSettings& settings) {
    auto ctx = std::make_shared<CheckContext>();
    applySettings(*ctx, settings);
    return ctx;
}

// Runs the stages as far as the photo gets and tells how far: 1 when it fails the file check, 2 when
// it fails the background and clarity check, 3 when it reaches the face feature check.
int stagesReached(CheckContext& ctx, const std::string& path) {
    ctx.row.clear();
    ctx.row.beginWithName(photoBaseNameOf(path));
    if (!FileCheck(ctx, path)) return 1;
    if (!BackgroundAndClarityCheck(ctx)) return 2;
    return 3;
}

void decodeOnly(benchmark::State& state, const std::string& path) {
    for (auto _ : state) benchmark::DoNotOptimize(decodeJpeg(path));
}

void fileCheck(benchmark::State& state, const std::string& path, const Context& ctx) {
    for (auto _ : state) {
        ctx->row.clear();
        benchmark::DoNotOptimize(FileCheck(*ctx, path));
    }
}

// Stage 2 on the photo the file check loaded.
void stage2(benchmark::State& state, const Context& loaded) {
    for (auto _ : state) {
        loaded->row.clear();
        benchmark::DoNotOptimize(BackgroundAndClarityCheck(*loaded));
    }
}

// Stage 3 after stages 1 and 2 have run on the photo.
void stage3(benchmark::State& state, const Context& checked) {
    for (auto _ : state) {
        checked->row.clear();
        benchmark::DoNotOptimize(FaceFeatureCheck(*checked));
    }
}

// The whole photo as the batch run judges it, without the copy and the INSERT.
void fullCheck(benchmark::State& state, const std::string& path, const Context& ctx) {
    for (auto _ : state) benchmark::DoNotOptimize(JudgePhoto(*ctx, path, Unreadable::Raise));
}

// The same with the measurements kept, as a run with a report judges it (no drawing).
void fullCheckWithMeasurements(benchmark::State& state, const std::string& path, const Context& ctx) {
    for (auto _ : state)
        benchmark::DoNotOptimize(JudgePhoto(*ctx, path, Unreadable::Raise, Keep::RowAndMeasurements));
}

// Wall clock and the thread's processor time, read together.
struct Instant {
    std::chrono::steady_clock::time_point wall;
    double cpuSeconds;

    static Instant now() {
        timespec cpu{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu);
        return {std::chrono::steady_clock::now(), static_cast<double>(cpu.tv_sec) + cpu.tv_nsec * 1e-9};
    }
};

struct Span {
    double wall = 0;
    double cpu = 0;
    void add(const Instant& from, const Instant& to) {
        wall += std::chrono::duration<double>(to.wall - from.wall).count();
        cpu += to.cpuSeconds - from.cpuSeconds;
    }
};

// The decode floor and the full check of the same photo taken in turn within each iteration, so that
// both see the same load on the machine; the ratio of their sums is the target's figure.
void decodeThenFullCheck(benchmark::State& state, const std::string& path, const Context& ctx) {
    Span decode, check;
    for (auto _ : state) {
        const Instant start = Instant::now();
        benchmark::DoNotOptimize(decodeJpeg(path));
        const Instant decoded = Instant::now();
        benchmark::DoNotOptimize(JudgePhoto(*ctx, path, Unreadable::Raise));
        check.add(decoded, Instant::now());
        decode.add(start, decoded);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["floor_ms"] = decode.wall / n * 1e3;
    state.counters["full_ms"] = check.wall / n * 1e3;
    state.counters["ratio"] = check.wall / decode.wall;
    state.counters["ratio_cpu"] = check.cpu / decode.cpu;
}

template <typename... Args>
void add(const std::string& name, void (*fn)(benchmark::State&, Args...), Args... args) {
    benchmark::RegisterBenchmark(name.c_str(), fn, args...)->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

void registerStageBenchmarks(const BenchWorkspace& workspace) {
    const CheckSettings& settings = workspace.settings();
    for (const std::string& photo : SinglePhotos) {
        const std::string path = BenchWorkspace::samplePhoto(photo);
        const Context checked = freshContext(settings);
        const int reached = stagesReached(*checked, path);

        add<const std::string&>(names::decode(photo), decodeOnly, path);
        add<const std::string&, const Context&>(names::fileCheck(photo), fileCheck, path,
                                                freshContext(settings));
        if (reached >= 2) {
            const Context loaded = freshContext(settings);
            stagesReached(*loaded, path);  // leaves the photo in the views
            add<const Context&>(names::stage2(photo), stage2, loaded);
        }
        if (reached >= 3) add<const Context&>(names::stage3(photo), stage3, checked);
        add<const std::string&, const Context&>(names::fullCheck(photo), fullCheck, path,
                                                freshContext(settings));
        if (photo == PassingPhoto)
            add<const std::string&, const Context&>(names::fullWithMeasurements(photo),
                                                    fullCheckWithMeasurements, path, freshContext(settings));
        if (photo == PassingPhoto)
            add<const std::string&, const Context&>(names::paired(photo), decodeThenFullCheck, path,
                                                    freshContext(settings));
    }
}

}  // namespace photocheck::bench
