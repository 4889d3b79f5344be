#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <stdexcept>
#include <thread>

#include "batch/BatchRun.h"
#include "bench/Benchmarks.h"
#include "bench/RatioReport.h"
#include "imaging/Jpeg.h"
#include "platform/FileSystem.h"

namespace photocheck::bench {
namespace {

constexpr int Rounds = 3;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Every run starts alike: empty result folders and an empty table. Left out of the time.
void startAfresh(Query& adoPicMsg, const std::string& photoFolder) {
    const ResultFolders folders = resultFoldersBeside(photoFolder);
    if (folderExists(folders.failed)) EmptyFolderTree(folders.failed);
    if (folderExists(folders.passed)) EmptyFolderTree(folders.passed);
    ExecSql(adoPicMsg, "delete * from pictureMsg");
}

double decodeFolder(const std::vector<std::string>& photos) {
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& path : photos) benchmark::DoNotOptimize(decodeJpeg(path));
    return secondsSince(start);
}

// The whole run as the command line makes it: walk, checks, copies, one INSERT per photo, and the
// reopened results.
double batchRun(BenchWorkspace& workspace, int threads) {
    Query adoPicMsg(workspace.database());
    startAfresh(adoPicMsg, workspace.photoFolder());
    BatchOptions options;
    options.photoFolder = workspace.photoFolder();
    options.checks = workspace.settings();
    options.threads = threads;
    BatchState state;
    const auto start = std::chrono::steady_clock::now();
    const BatchSummary summary = RunBatch(adoPicMsg, options, {}, state);
    const double seconds = secondsSince(start);
    if (static_cast<size_t>(summary.total) != workspace.folderPhotos().size())
        throw std::runtime_error("the batch run missed photos");
    return seconds;
}

// A fixed amount of pure arithmetic.
void busyWork() {
    uint64_t x = 0;
    for (uint64_t i = 0; i < 100'000'000; ++i) x = x * 6364136223846793005u + i;  // no closed form
    benchmark::DoNotOptimize(x);
}

// The time of one busy thread and of two side by side, for the same work each.
struct BusyTimes {
    double one;
    double two;
};

BusyTimes busyTimes() {
    auto start = std::chrono::steady_clock::now();
    busyWork();
    const double one = secondsSince(start);
    start = std::chrono::steady_clock::now();
    std::thread other(busyWork);
    busyWork();
    other.join();
    return {one, secondsSince(start)};
}

struct Best {
    double seconds = std::numeric_limits<double>::infinity();
    void offer(double s) { seconds = std::min(seconds, s); }
};

// The folder's decode floor and the batch run at -j 1 and -j 2, taken in turn for a few rounds; the
// fastest of each stands, which is the figure least disturbed by other work on the machine.
void folderRounds(benchmark::State& state, BenchWorkspace* workspace) {
    const double photos = static_cast<double>(workspace->folderPhotos().size());
    Best floor, single, dual, busyOne, busyTwo;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            const BusyTimes busy = busyTimes();
            busyOne.offer(busy.one);
            busyTwo.offer(busy.two);
            floor.offer(decodeFolder(workspace->folderPhotos()));
            single.offer(batchRun(*workspace, 1));
            dual.offer(batchRun(*workspace, 2));
        }
    }
    state.counters["floor_ms"] = floor.seconds / photos * 1e3;
    state.counters["j1_ms"] = single.seconds / photos * 1e3;
    state.counters["j2_ms"] = dual.seconds / photos * 1e3;
    // How much more two busy threads get done than one in the same time: 2 on an idle two-core
    // machine, less while other work shares the cores. The -j 2 speed-up cannot go beyond it.
    state.counters["machine_2threads"] = 2 * busyOne.seconds / busyTwo.seconds;
}

}  // namespace

void registerBatchBenchmarks(BenchWorkspace& workspace) {
    benchmark::RegisterBenchmark(names::FolderRounds, folderRounds, &workspace)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
}

}  // namespace photocheck::bench
