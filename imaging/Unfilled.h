#pragma once
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace photocheck {

// An allocator whose vectors leave new elements as they are instead of zero-filling them, for memory
// that its writer fills in full before anything reads it (the decoder's picture, a read buffer).
template <typename T>
class UnfilledAllocator : public std::allocator<T> {
    static_assert(std::is_trivially_default_constructible_v<T>, "only for plain bytes and numbers");

  public:
    template <typename U>
    struct rebind {
        using other = UnfilledAllocator<U>;
    };
    UnfilledAllocator() = default;
    template <typename U>
    UnfilledAllocator(const UnfilledAllocator<U>&) noexcept {}

    template <typename U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;  // default-initialised: left as it is
    }
    template <typename U, typename... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

template <typename T>
using UnfilledVector = std::vector<T, UnfilledAllocator<T>>;

}  // namespace photocheck
