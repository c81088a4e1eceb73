#include "platform/large_buffers.h"

#include <malloc.h>

#include <new>

namespace scenariogen {

void* allocate_large_buffer(std::size_t bytes) {
    void* buffer = ::_aligned_malloc(bytes, kLargeBufferAlignment);
    if (buffer == nullptr) throw std::bad_alloc();
    return buffer;
}

void release_large_buffer(void* buffer) noexcept { ::_aligned_free(buffer); }

}  // namespace scenariogen
