// photocheck-bench: the checks and the batch run measured against the JPEG decoder's floor.
//
//   photocheck-bench [--photos=N] [--distinct=N] [--scratch=DIR] [Google Benchmark options]
//
// --photos is the size of the generated batch folder (2000; 0 leaves out the batch run), --distinct
// the number of painted photos in it (200; the rest are copies), --scratch the folder in which the
// working files and the photos are made (/dev/shm, else the build folder: see BenchWorkspace; a disk
// folder measures that disk's file creation with the batch run's copies). The ratios and the targets
// are printed after the benchmarks, each with PASS or MISS.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "bench/Benchmarks.h"
#include "bench/RatioReport.h"

namespace {

using photocheck::bench::PhotoFolderPlan;

struct OwnOptions {
    PhotoFolderPlan plan;
    std::string scratch;
};

// Takes this program's own options out of argv; the rest is for Google Benchmark.
OwnOptions takeOwnOptions(int& argc, char** argv) {
    OwnOptions options;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strncmp(arg, "--photos=", 9) == 0)
            options.plan.count = std::atoi(arg + 9);
        else if (std::strncmp(arg, "--distinct=", 11) == 0)
            options.plan.distinct = std::atoi(arg + 11);
        else if (std::strncmp(arg, "--scratch=", 10) == 0)
            options.scratch = arg + 10;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace photocheck::bench;
    const OwnOptions options = takeOwnOptions(argc, argv);
    const PhotoFolderPlan& plan = options.plan;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    try {
        const bool withBatch = plan.count > 0;
        BenchWorkspace workspace(withBatch ? plan : PhotoFolderPlan{1, 1}, options.scratch);
        registerStageBenchmarks(workspace);
        if (withBatch) registerBatchBenchmarks(workspace);
        registerGrayLevelBenchmarks();
        registerResultsBenchmarks(workspace);

        RatioReport report;
        benchmark::RunSpecifiedBenchmarks(&report);
        benchmark::Shutdown();

        RatioInputs inputs;
        inputs.passingPhoto = PassingPhoto;
        inputs.photos = SinglePhotos;
        inputs.folderPhotos = static_cast<int>(workspace.folderPhotos().size());
        printRatios(report, inputs, std::cout);
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "photocheck-bench: " << e.what() << "\n";
        return 2;
    }
}
