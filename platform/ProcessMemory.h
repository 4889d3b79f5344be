#pragma once
#include <cstdint>

namespace photocheck {

// The memory of this process in the system's own count (resident pages, whoever allocated them: the
// program, Qt, the database engine), for the benchmarks.
int64_t residentKb();
// The highest resident size since the process started or since the last resetPeakResident().
int64_t peakResidentKb();
// Starts the peak afresh from the present resident size; false where the system cannot.
bool resetPeakResident();

}  // namespace photocheck
