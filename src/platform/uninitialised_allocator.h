// An allocator for large buffers that are written before they are read: it
// leaves new elements uninitialised, and asks the system for huge pages for
// allocations of 2 MiB or more, so that filling them faults in few pages.
#pragma once

#include <memory>
#include <new>
#include <utility>

#include "platform/large_buffers.h"

namespace scenariogen {

template <class T>
struct uninitialised_allocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = uninitialised_allocator<U>;
    };
    uninitialised_allocator() = default;
    T* allocate(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kLarge) return std::allocator<T>::allocate(n);
        return static_cast<T*>(allocate_large_buffer(bytes));
    }
    void deallocate(T* p, std::size_t n) {
        if (n * sizeof(T) < kLarge) return std::allocator<T>::deallocate(p, n);
        release_large_buffer(p);
    }
    static constexpr std::size_t kLarge = kLargeBufferAlignment;
    template <class U>
    uninitialised_allocator(const uninitialised_allocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};

}  // namespace scenariogen
