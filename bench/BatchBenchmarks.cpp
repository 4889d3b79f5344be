#include <benchmark/benchmark.h>

#include "batch/BatchRun.h"
#include "bench/Benchmarks.h"
#include "bench/RatioReport.h"
#include "imaging/Jpeg.h"
#include "platform/FileSystem.h"

namespace photocheck::bench {
namespace {

// Time per photo: the iteration's time divided by the photos of the folder.
benchmark::Counter perPhoto(size_t photos) {
    return benchmark::Counter(static_cast<double>(photos),
                              benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Every run starts alike: empty result folders and an empty table. Left out of the time.
void startAfresh(Query& adoPicMsg, const std::string& photoFolder) {
    const ResultFolders folders = resultFoldersBeside(photoFolder);
    if (folderExists(folders.failed)) EmptyFolderTree(folders.failed);
    if (folderExists(folders.passed)) EmptyFolderTree(folders.passed);
    ExecSql(adoPicMsg, "delete * from pictureMsg");
}

void decodeFolder(benchmark::State& state, const BenchWorkspace* workspace) {
    const std::vector<std::string>& photos = workspace->folderPhotos();
    for (auto _ : state)
        for (const std::string& path : photos) benchmark::DoNotOptimize(decodeJpeg(path));
    state.counters["per_photo"] = perPhoto(photos.size());
}

// The whole run as the command line makes it: walk, checks, copies, one INSERT per photo, and the
// reopened results.
void batchRun(benchmark::State& state, BenchWorkspace* workspace, int threads) {
    Query adoPicMsg(workspace->database());
    BatchOptions options;
    options.photoFolder = workspace->photoFolder();
    options.checks = workspace->settings();
    options.threads = threads;
    const size_t photos = workspace->folderPhotos().size();
    for (auto _ : state) {
        state.PauseTiming();
        startAfresh(adoPicMsg, workspace->photoFolder());
        state.ResumeTiming();
        BatchState batchState;
        const BatchSummary summary = RunBatch(adoPicMsg, options, {}, batchState);
        if (static_cast<size_t>(summary.total) != photos) state.SkipWithError("the run missed photos");
    }
    state.counters["per_photo"] = perPhoto(photos);
}

}  // namespace

void registerBatchBenchmarks(BenchWorkspace& workspace) {
    benchmark::RegisterBenchmark(names::DecodeFolder, decodeFolder, &workspace)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
    for (int threads : {1, 2})
        benchmark::RegisterBenchmark(names::batch(threads).c_str(), batchRun, &workspace, threads)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1);
}

}  // namespace photocheck::bench
