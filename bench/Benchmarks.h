#pragma once
#include <string>
#include <vector>

#include "bench/BenchWorkspace.h"

namespace photocheck::bench {

// The photos measured one by one: a passing one, one that fails in stage 2 on its background and
// one that fails in stage 1 on its file size. Each gets its decode floor and every stage it reaches.
inline const char* const PassingPhoto = "pass-a.jpg";
inline const std::vector<std::string> SinglePhotos = {PassingPhoto, "grey-wall.jpg", "small-file.jpg"};

void registerStageBenchmarks(const BenchWorkspace& workspace);
// The folder's decode floor on one thread and on two, a first and a second batch run at -j 1 and a
// first one at -j 2.
void registerBatchBenchmarks(BenchWorkspace& workspace);
void registerGrayLevelBenchmarks();

// The reopened results of a batch run of 10,000 and 100,000 photos: the time to the window's first page
// and to go through every row, each with the growth of the peak memory it causes.
inline constexpr int ResultsTableSizes[] = {10000, 100000};
void registerResultsBenchmarks(BenchWorkspace& workspace);

}  // namespace photocheck::bench
