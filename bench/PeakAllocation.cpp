#include "bench/PeakAllocation.h"

#include <malloc.h>
#include <sqlite3.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<int64_t> liveBytes{0};
std::atomic<int64_t> peakBytes{0};

void counted(void* p) {
    const int64_t live = liveBytes += static_cast<int64_t>(malloc_usable_size(p));
    int64_t peak = peakBytes.load();
    while (live > peak && !peakBytes.compare_exchange_weak(peak, live)) {
    }
}

void* allocate(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    counted(p);
    return p;
}

void release(void* p) noexcept {
    if (!p) return;
    liveBytes -= static_cast<int64_t>(malloc_usable_size(p));
    std::free(p);
}

}  // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    release(p);
}
void operator delete[](void* p) noexcept {
    release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    release(p);
}

namespace photocheck::bench {
namespace {

int64_t engineHighWater(bool reset) {
    sqlite3_int64 current = 0, highest = 0;
    sqlite3_status64(SQLITE_STATUS_MEMORY_USED, &current, &highest, reset ? 1 : 0);
    return reset ? current : highest;
}

}  // namespace

PeakAllocation::PeakAllocation() : heapAtStart_(liveBytes.load()), engineAtStart_(engineHighWater(true)) {
    peakBytes = heapAtStart_;
}

double PeakAllocation::kb() const {
    const int64_t bytes = (peakBytes.load() - heapAtStart_) + (engineHighWater(false) - engineAtStart_);
    return static_cast<double>(bytes) / 1024.0;
}

}  // namespace photocheck::bench
