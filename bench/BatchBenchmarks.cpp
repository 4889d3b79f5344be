#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <stdexcept>
#include <thread>
#include <vector>

#include "batch/BatchRun.h"
#include "bench/Benchmarks.h"
#include "bench/RatioReport.h"
#include "imaging/Jpeg.h"

namespace photocheck::bench {
namespace {

constexpr int Rounds = 3;

// Wall clock and the processor time of the whole process (every thread, user and system), read together.
struct Instant {
    std::chrono::steady_clock::time_point wall;
    double cpuSeconds;

    static Instant now() {
        timespec cpu{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        return {std::chrono::steady_clock::now(), static_cast<double>(cpu.tv_sec) + cpu.tv_nsec * 1e-9};
    }
};

struct Seconds {
    double wall;
    double cpu;

    static Seconds since(const Instant& start) {
        const Instant end = Instant::now();
        return {std::chrono::duration<double>(end.wall - start.wall).count(),
                end.cpuSeconds - start.cpuSeconds};
    }
};

Seconds decodeFolder(const std::vector<std::string>& photos) {
    const Instant start = Instant::now();
    for (const std::string& path : photos) benchmark::DoNotOptimize(decodeJpeg(path));
    return Seconds::since(start);
}

// The same decoding on two threads side by side, each taking every other photo: what the machine gives
// this kind of work on two threads, which is less than twice one where the two share caches and memory.
Seconds decodeFolderOnTwoThreads(const std::vector<std::string>& photos) {
    const Instant start = Instant::now();
    const auto half = [&photos](size_t first) {
        for (size_t i = first; i < photos.size(); i += 2) benchmark::DoNotOptimize(decodeJpeg(photos[i]));
    };
    std::thread other(half, 1);
    half(0);
    other.join();
    return Seconds::since(start);
}

// The whole run as the command line makes it: emptying the result folders and the table, walk, checks,
// copies, one INSERT per photo, and the reopened results.
Seconds batchRun(BenchWorkspace& workspace, int threads, const ResultFolders& folders) {
    Query adoPicMsg(workspace.database());
    BatchOptions options;
    options.photoFolder = workspace.photoFolder();
    options.resultFolders = folders;
    options.checks = workspace.settings();
    options.threads = threads;
    BatchState state;
    const Instant start = Instant::now();
    const BatchSummary summary = RunBatch(adoPicMsg, options, {}, state);
    const Seconds seconds = Seconds::since(start);
    if (static_cast<size_t>(summary.total) != workspace.folderPhotos().size() || summary.missingCopies != 0)
        throw std::runtime_error("the batch run missed photos or copies");
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
    Instant start = Instant::now();
    busyWork();
    const double one = Seconds::since(start).wall;
    start = Instant::now();
    std::thread other(busyWork);
    busyWork();
    other.join();
    return {one, Seconds::since(start).wall};
}

struct Best {
    double wall = std::numeric_limits<double>::infinity();
    double cpu = std::numeric_limits<double>::infinity();
    void offer(const Seconds& s) {
        wall = std::min(wall, s.wall);
        cpu = std::min(cpu, s.cpu);
    }
};

// Rounds of: the folder's decode floor and a first run at -j 1 into result folders no run has used, the
// floor on two threads side by side and a first run at -j 2, then a second run at -j 1 over the folder of
// the round's first (which first empties those result folders of its copies). The fastest of each
// stands, which is the figure least disturbed by other work on the machine. The -j 2 speed-up is set
// against the decoders' own two-thread speed-up round by round, each run next to its floor: this
// virtual machine's cores go through slower and faster spells of some seconds, which a comparison of
// figures taken at different moments would mistake for the program. The two first runs come before
// the round's deletions: an ext4 file system without a journal does not give out an inode freed in the
// last minutes again, and every file made walks past all of them, so a run that follows thousands of
// deletions pays for its copies several times over. Both first runs meet the same deletions (those of
// the rounds before); the second run meets its own too, as a user's second run does.
void folderRounds(benchmark::State& state, BenchWorkspace* workspace) {
    const double photos = static_cast<double>(workspace->folderPhotos().size());
    Best floor, floor2, first, second, dual;
    Best busyOne, busyTwo;
    std::vector<double> shares;  // per round: the -j 2 speed-up over the decoders' two-thread speed-up
    int fresh = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            const BusyTimes busy = busyTimes();
            busyOne.offer({busy.one, 0});
            busyTwo.offer({busy.two, 0});
            const Seconds floorOne = decodeFolder(workspace->folderPhotos());
            const ResultFolders single = workspace->freshResultFolders(std::to_string(++fresh));
            const Seconds firstOne = batchRun(*workspace, 1, single);
            const Seconds floorTwo = decodeFolderOnTwoThreads(workspace->folderPhotos());
            const Seconds dualOne =
                batchRun(*workspace, 2, workspace->freshResultFolders(std::to_string(++fresh)));
            second.offer(batchRun(*workspace, 1, single));
            floor.offer(floorOne);
            first.offer(firstOne);
            floor2.offer(floorTwo);
            dual.offer(dualOne);
            shares.push_back((firstOne.wall / dualOne.wall) / (floorOne.wall / floorTwo.wall));
        }
    }
    std::sort(shares.begin(), shares.end());
    const auto perPhotoMs = [&](double seconds) { return seconds / photos * 1e3; };
    state.counters["floor_ms"] = perPhotoMs(floor.wall);
    state.counters["j1_ms"] = perPhotoMs(first.wall);
    state.counters["second_ms"] = perPhotoMs(second.wall);
    state.counters["j2_ms"] = perPhotoMs(dual.wall);
    state.counters["floor_cpu_ms"] = perPhotoMs(floor.cpu);
    state.counters["j1_cpu_ms"] = perPhotoMs(first.cpu);
    state.counters["second_cpu_ms"] = perPhotoMs(second.cpu);
    state.counters["floor2_ms"] = perPhotoMs(floor2.wall);
    state.counters["j2_share"] = shares[shares.size() / 2];
    state.counters["j2_share_low"] = shares.front();
    state.counters["j2_share_high"] = shares.back();
    // How much more two busy threads get done than one in the same time: 2 on an idle two-core
    // machine, less while other work shares the cores. The arithmetic stays in registers, so it
    // shows other work on the machine, not what two decoders cost each other.
    state.counters["machine_2threads"] = 2 * busyOne.wall / busyTwo.wall;
}

}  // namespace

void registerBatchBenchmarks(BenchWorkspace& workspace) {
    benchmark::RegisterBenchmark(names::FolderRounds, folderRounds, &workspace)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(1);
}

}  // namespace photocheck::bench
