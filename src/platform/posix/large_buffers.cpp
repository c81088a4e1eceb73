#include "platform/large_buffers.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace scenariogen {

void* allocate_large_buffer(std::size_t bytes) {
    const std::size_t rounded = (bytes + kLargeBufferAlignment - 1) / kLargeBufferAlignment * kLargeBufferAlignment;
    void* buffer = std::aligned_alloc(kLargeBufferAlignment, rounded);
    if (buffer == nullptr) throw std::bad_alloc();
    ::madvise(buffer, rounded, MADV_HUGEPAGE);  // a hint: fewer, larger pages to fault in
    return buffer;
}

void release_large_buffer(void* buffer) noexcept { std::free(buffer); }

}  // namespace scenariogen
