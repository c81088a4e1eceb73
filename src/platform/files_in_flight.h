// The files that an interruption removes. The handler of each system (a
// signal handler, or on Windows the console's control thread) reaches no
// object of the program but this registry; its slots are lock-free atomics,
// read with no allocation and no lock.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>

namespace scenariogen::files_in_flight {

inline constexpr std::size_t kSlots = 64;
using Slots = std::array<std::atomic<const char*>, kSlots>;

// The registry; each system's side defines it beside its handler.
Slots& slots();

}  // namespace scenariogen::files_in_flight
