#pragma once
#include <cstdint>

namespace photocheck::bench {

// The memory a piece of work allocates at most while it runs, from its start to kb(): the C++ heap of
// this program (counted by its operator new) and the database engine's own allocations (its page
// cache), each from its own peak. Memory that the allocator kept from earlier work does not hide it.
class PeakAllocation {
  public:
    PeakAllocation();
    double kb() const;

  private:
    int64_t heapAtStart_;
    int64_t engineAtStart_;
};

}  // namespace photocheck::bench
