// Memory for large buffers, aligned to 2 MiB; the system is asked to back it
// with huge pages where it can, so that filling it faults in few pages.
#pragma once

#include <cstddef>

namespace scenariogen {

inline constexpr std::size_t kLargeBufferAlignment = std::size_t{2} << 20;

// Throws std::bad_alloc. The memory is not initialised.
void* allocate_large_buffer(std::size_t bytes);
void release_large_buffer(void* buffer) noexcept;

}  // namespace scenariogen
