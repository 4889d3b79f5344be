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
// The folder's decode floor, then the batch run at -j 1 and -j 2.
void registerBatchBenchmarks(BenchWorkspace& workspace);
void registerGrayLevelBenchmarks();

}  // namespace photocheck::bench
