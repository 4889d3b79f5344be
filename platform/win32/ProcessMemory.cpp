#include "platform/ProcessMemory.h"

#include <windows.h>
// after windows.h, which it builds on
#include <psapi.h>

#include <stdexcept>

namespace photocheck {
namespace {

PROCESS_MEMORY_COUNTERS memoryCounters() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        throw std::runtime_error("GetProcessMemoryInfo failed");
    return counters;
}

}  // namespace

// The Windows heap gives large blocks mappings of their own already.
void mapLargeBlocksApart() {}

int64_t residentKb() {
    return static_cast<int64_t>(memoryCounters().WorkingSetSize / 1024);
}

int64_t peakResidentKb() {
    return static_cast<int64_t>(memoryCounters().PeakWorkingSetSize / 1024);
}

bool resetPeakResident() {
    return false;
}

}  // namespace photocheck
