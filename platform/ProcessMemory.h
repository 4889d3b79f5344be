#pragma once
#include <cstdint>

namespace photocheck {

// Blocks of 1 MB and more are given mappings of their own and go back to the system when freed. A list
// that grows in steps (the grid's row list at a million rows reaches 8 MB) is then moved by the system
// when it doubles, instead of copied within the heap, where each old copy would stay resident. Blocks
// below that (a decoded photo is 0.7 MB) are served from the heap as before, which keeps up to 32 MB
// of free room for them instead of handing it back at once.
void mapLargeBlocksApart();

// The memory of this process in the system's own count (resident pages, whoever allocated them: the
// program, Qt, the database engine), for the benchmarks.
int64_t residentKb();
// The highest resident size since the process started or since the last resetPeakResident().
int64_t peakResidentKb();
// Starts the peak afresh from the present resident size; false where the system cannot.
bool resetPeakResident();

}  // namespace photocheck
