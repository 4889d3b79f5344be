#include "platform/ProcessMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <fstream>
#include <stdexcept>
#include <string>

namespace photocheck {
namespace {

// A "Vm...:   123 kB" line of /proc/self/status.
int64_t statusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, field.size() + 1, field + ":") == 0)
            return std::stoll(line.substr(field.size() + 1));
    throw std::runtime_error("/proc/self/status gives no " + field);
}

}  // namespace

void mapLargeBlocksApart() {
#if defined(__GLIBC__)
    constexpr int LargeBlockBytes = 1 << 20;
    mallopt(M_MMAP_THRESHOLD, LargeBlockBytes);  // fixed: the allocator no longer raises it itself
    // Fixing it also fixes the heap's free top kept from the system at 128 KB: each photo's buffers of
    // a batch run would go back to the system when freed and fault in again for the next photo (twice
    // the processor time of the checks). A few photos' worth stays instead.
    constexpr int KeptFreeTopBytes = 32 << 20;
    mallopt(M_TRIM_THRESHOLD, KeptFreeTopBytes);
#endif
}

int64_t residentKb() {
    return statusKb("VmRSS");
}

int64_t peakResidentKb() {
    return statusKb("VmHWM");
}

bool resetPeakResident() {
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5";  // resets the peak resident size (Linux 4.0 on)
    clearRefs.flush();
    return clearRefs.good();
}

}  // namespace photocheck
