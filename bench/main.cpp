// photocheck-bench: the checks and the batch run measured against the JPEG decoder's floor.
//
//   photocheck-bench [--photos=N] [--distinct=N] [Google Benchmark options]
//
// --photos is the size of the generated batch folder (2000; 0 leaves out the batch run), --distinct
// the number of painted photos in it (200; the rest are copies). The ratios and the targets are
// printed after the benchmarks, each with PASS or MISS.
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

// Takes this program's own options out of argv; the rest is for Google Benchmark.
PhotoFolderPlan takeOwnOptions(int& argc, char** argv) {
    PhotoFolderPlan plan;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strncmp(arg, "--photos=", 9) == 0)
            plan.count = std::atoi(arg + 9);
        else if (std::strncmp(arg, "--distinct=", 11) == 0)
            plan.distinct = std::atoi(arg + 11);
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return plan;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace photocheck::bench;
    const PhotoFolderPlan plan = takeOwnOptions(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    try {
        const bool withBatch = plan.count > 0;
        BenchWorkspace workspace(withBatch ? plan : PhotoFolderPlan{1, 1});
        registerStageBenchmarks(workspace);
        if (withBatch) registerBatchBenchmarks(workspace);
        registerGrayLevelBenchmarks();

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
